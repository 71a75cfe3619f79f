#include "sim/win/pose_win.h"

#include "cad/com/com_types_win.h"
#include "cad/ids.h"

namespace sim {

namespace {

// The class id a ProgID key names now; empty when the key or its value is not there.
std::wstring classIdOf(HKEY root, const std::wstring& progIdKey) {
    wchar_t value[64] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    const LSTATUS status =
        RegGetValueW(root, (progIdKey + L"\\CLSID").c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return status == ERROR_SUCCESS ? value : L"";
}

// Whether another stand-in's application object is in the running object table.
bool anotherStandInRuns() {
    CLSID classId{};
    cad::com::guidFromString(cad::kApplicationClassId, classId);
    cad::com::ComPtr<IUnknown> other;
    return SUCCEEDED(GetActiveObject(classId, nullptr, other.put()));
}

}  // namespace

PoseRegistration::PoseRegistration(const HostPose& pose, const cad::com::ComPtr<IDispatch>& application) {
    CLSID classId{};
    cad::com::guidFromString(cad::kApplicationClassId, classId);
    if (!pose.progId.empty()) {
        // The machine's classes first: Wine resolves ProgIDs only there; a user who may not
        // write them gets the user's classes, which Windows merges in.
        const std::wstring key = L"Software\\Classes\\" + pose.progId;
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            const std::wstring present = classIdOf(root, key);
            if (!present.empty() && present != cad::kApplicationClassId) {
                // Another program's ProgID: never changed.
                problem_ = pose.progId + L" is registered for " + present + L"; left as it is";
                break;
            }
            HKEY created = nullptr;
            if (RegCreateKeyExW(root, (key + L"\\CLSID").c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr,
                                &created, nullptr) != ERROR_SUCCESS)
                continue;
            const std::wstring value = cad::kApplicationClassId;
            const LSTATUS set = RegSetValueExW(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(created);
            if (set == ERROR_SUCCESS) {
                root_ = root;
                progIdKey_ = key;
                break;
            }
        }
        if (!root_ && problem_.empty()) problem_ = pose.progId + L" could not be registered";
    }
    if (pose.inRunningObjectTable && application) {
        const HRESULT hr = RegisterActiveObject(application.get(), classId, ACTIVEOBJECT_STRONG, &rotCookie_);
        inTable_ = SUCCEEDED(hr);
        if (!inTable_) problem_ += (problem_.empty() ? L"" : L"; ") + std::wstring(L"the running object table refused the application");
    }
}

PoseRegistration::~PoseRegistration() {
    if (inTable_) RevokeActiveObject(rotCookie_, nullptr);
    // A CAD's ProgID stays registered while another of its instances runs: the key goes
    // with the last stand-in that serves it.
    if (root_ && classIdOf(root_, progIdKey_) == cad::kApplicationClassId && !anotherStandInRuns())
        RegDeleteTreeW(root_, progIdKey_.c_str());
}

}  // namespace sim
