#include "cad/profiles.h"

#include "base/names.h"
#include "cad/ids.h"

namespace cad {

namespace {

bool isHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

// Where each rule comes from. A rule no maker documents is our best reading; a user
// corrects it without a new build by a [CAD:<name>] section of the same name in the
// settings file, which replaces the built-in profile.
//
// - nanoCAD: the window "nanoCAD 5" and the class id and interfaces of nanoCAD 5's
//   automation (cad/ids.h). Made with CoCreateInstance, as Quillon has always done.
// - nanoCAD 現行版 (the releases after 5, whose titles begin "nanoCAD"): Nanosoft's
//   developer pages describe the COM API (IAcadApplication and its objects, after
//   AutoCAD's) but state no ProgID; "nanoCAD.Application" follows the AutoCAD form.
// - AutoCAD: Autodesk's ActiveX reference, Application object: GetObject
//   ("AutoCAD.Application.<version>"), e.g. .24.3 for 2024, .25.0 for 2025, .25.1 for
//   2026; GetObject returns the first instance in the running object table; the main
//   window reads "Autodesk AutoCAD 2018 - [Drawing2.dwg]". Autodesk recommends the
//   versioned ProgID; the version-independent one reaches whichever release is
//   installed, and a user pins a release in the settings file.
// - BricsCAD: Bricsys documents VBA and COM inside BricsCAD but no ProgID for reaching
//   it from outside; its type library's application class is BricscadApp.AcadApplication,
//   the most likely ProgID. Titles begin "BricsCAD".
// - ZWCAD: ZWSOFT's pages describe VBA and COM but no ProgID; "ZWCAD.Application" is the
//   AutoCAD form. Titles begin "ZWCAD".
// - GstarCAD: Gstarsoft's developer documentation names GStarCAD.Application (and the
//   versioned .26, .27). Titles begin "GstarCAD".
std::vector<CadProfile> makeBuiltIns() {
    std::vector<CadProfile> p;
    p.push_back({kDefaultProfileName, kHostWindowTitle, false, L"", kApplicationClassId, kApplicationInterfaceId,
                 kPlotInterfaceId});
    p.push_back({L"nanoCAD 現行版", L"nanoCAD", true, L"nanoCAD.Application", L"", L"", L""});
    p.push_back({L"AutoCAD", L"Autodesk AutoCAD", true, L"AutoCAD.Application", L"", L"", L""});
    p.push_back({L"BricsCAD", L"BricsCAD", true, L"BricscadApp.AcadApplication", L"", L"", L""});
    p.push_back({L"ZWCAD", L"ZWCAD", true, L"ZWCAD.Application", L"", L"", L""});
    p.push_back({L"GstarCAD", L"GstarCAD", true, L"GStarCAD.Application", L"", L"", L""});
    return p;
}

}  // namespace

const std::vector<CadProfile>& builtInProfiles() {
    static const std::vector<CadProfile> profiles = makeBuiltIns();
    return profiles;
}

std::size_t profileIndex(const std::vector<CadProfile>& profiles, std::wstring_view name) {
    for (std::size_t i = 0; i < profiles.size(); ++i)
        if (base::sameNameIgnoringCase(profiles[i].name, name)) return i;
    for (std::size_t i = 0; i < profiles.size(); ++i)
        if (base::sameNameIgnoringCase(profiles[i].name, kDefaultProfileName)) return i;
    return 0;
}

const CadProfile& profileNamed(const std::vector<CadProfile>& profiles, std::wstring_view name) {
    return profiles.empty() ? builtInProfiles().front() : profiles[profileIndex(profiles, name)];
}

bool titleMatches(const CadProfile& profile, std::wstring_view title) {
    if (profile.titleIsPrefix) return !profile.windowTitle.empty() && title.substr(0, profile.windowTitle.size()) == profile.windowTitle;
    return title == profile.windowTitle;
}

bool isClassIdText(std::wstring_view t) {
    if (t.size() != 38 || t.front() != L'{' || t.back() != L'}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? t[i] != L'-' : !isHexDigit(t[i])) return false;
    }
    return true;
}

}  // namespace cad
