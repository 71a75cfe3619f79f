#include "sim/win/typelib_win.h"

#include <oleauto.h>

#include <array>
#include <cwchar>
#include <vector>

#include "cad/com/com_types_win.h"
#include "sim/win/dispids.h"

// Present in oleaut32 (and its import library) but not declared by mingw-w64's headers.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD major, WORD minor, LCID lcid,
                                                   SYSKIND syskind);

namespace sim {
namespace {

using cad::com::ComPtr;

// Whether the classes (machine and user merged) still hold this version of the library.
bool stillRegistered(const TLIBATTR& a) {
    wchar_t version[16];
    swprintf(version, 16, L"%x.%x", a.wMajorVerNum, a.wMinorVerNum);  // the registry writes it in hexadecimal
    const std::wstring key = L"TypeLib\\" + cad::com::guidToString(a.guid) + L"\\" + version;
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
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

    // Each call fails when there is nothing to remove (how it fails differs between
    // systems), so success is judged by what is left afterwards.
    const HRESULT machine = UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
    const HRESULT user = UnRegisterTypeLibForUser(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
    std::wstring where;
    if (SUCCEEDED(machine)) where = L"machine";
    if (SUCCEEDED(user)) where += where.empty() ? L"user" : L", user";
    if (!stillRegistered(a)) return {S_OK, where};
    return {FAILED(machine) ? machine : FAILED(user) ? user : E_FAIL, where};
}

ComPtr<ITypeInfo> typeInfoOf(Interface in) {
    // Every interface's type information, found by name once; each object hands out a
    // reference to the one of its interface.
    static const std::array<ComPtr<ITypeInfo>, kInterfaceCount> infos = [] {
        std::array<ComPtr<ITypeInfo>, kInterfaceCount> found;
        ComPtr<ITypeLib> library;
        if (FAILED(LoadTypeLibEx(programPath().c_str(), REGKIND_NONE, library.put()))) return found;
        for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
            BSTR name = nullptr;
            if (FAILED(library->GetDocumentation(static_cast<INT>(i), &name, nullptr, nullptr, nullptr))) continue;
            const std::wstring text = cad::com::bstrText(name);
            SysFreeString(name);
            for (std::size_t k = 0; k < kInterfaceCount; ++k)
                if (text == typeLibraryName(static_cast<Interface>(k))) library->GetTypeInfo(i, found[k].put());
        }
        return found;
    }();
    return infos[static_cast<std::size_t>(in)];
}

}  // namespace sim
