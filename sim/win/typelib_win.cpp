#include "sim/win/typelib_win.h"

#include <oleauto.h>

#include <vector>

#include "cad/com/com_types_win.h"

// Present in oleaut32 (and its import library) but not declared by mingw-w64's headers.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD major, WORD minor, LCID lcid,
                                                   SYSKIND syskind);

namespace sim {
namespace {

using cad::com::ComPtr;

// Registration failures that mean "nothing of ours is there".
bool meansNotRegistered(HRESULT hr) {
    return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_LIBNOTREGISTERED ||
           hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

}  // namespace

std::wstring programPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

TypeLibOutcome registerTypeLibrary(const std::wstring& program) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(program.c_str(), REGKIND_REGISTER, library.put());
    if (SUCCEEDED(hr)) return {hr, L"machine"};
    hr = LoadTypeLibEx(program.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return {hr, L""};
    std::wstring path = program;
    hr = RegisterTypeLibForUser(library.get(), path.data(), nullptr);
    return {hr, SUCCEEDED(hr) ? L"user" : L""};
}

TypeLibOutcome unregisterTypeLibrary(const std::wstring& program) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(program.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return {hr, L""};
    TLIBATTR* attr = nullptr;
    hr = library->GetLibAttr(&attr);
    if (FAILED(hr)) return {hr, L""};
    const TLIBATTR a = *attr;
    library->ReleaseTLibAttr(attr);

    const HRESULT machine = UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
    const HRESULT user = UnRegisterTypeLibForUser(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
    std::wstring where;
    if (SUCCEEDED(machine)) where = L"machine";
    if (SUCCEEDED(user)) where += where.empty() ? L"user" : L", user";
    const bool machineGone = SUCCEEDED(machine) || meansNotRegistered(machine);
    const bool userGone = SUCCEEDED(user) || meansNotRegistered(user);
    return {machineGone && userGone ? S_OK : (machineGone ? user : machine), where};
}

}  // namespace sim
