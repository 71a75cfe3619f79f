#include "app/target_cads.h"

#include <optional>

#include "base/names.h"

namespace app {

namespace {

// The profile a section describes, on top of the one it replaces (or an empty one); the
// reason it cannot be used, when it cannot.
std::optional<std::wstring> applySection(const base::IniFile& ini, const std::wstring& section, cad::CadProfile& p,
                                         bool replacing) {
    const auto value = [&](const wchar_t* key) -> std::optional<std::wstring> {
        auto v = ini.read(section, key);
        if (v && v->empty()) v.reset();
        return v;
    };
    const auto title = value(L"Title"), prefix = value(L"TitlePrefix");
    const auto progId = value(L"ProgID"), classId = value(L"CLSID");
    if (title && prefix) return L"Title= と TitlePrefix= の両方があります";
    if (progId && classId) return L"ProgID= と CLSID= の両方があります";
    if (!replacing && !title && !prefix) return L"Title= か TitlePrefix= がありません";
    if (!replacing && !progId && !classId) return L"ProgID= か CLSID= がありません";
    if (classId && !cad::isClassIdText(*classId))
        return L"CLSID= は {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} の形で書いてください";
    if (title || prefix) {
        p.windowTitle = title ? *title : *prefix;
        p.titleIsPrefix = !title;
    }
    if (progId || classId) {
        p.progId = progId.value_or(L"");
        p.classId = classId.value_or(L"");
        // An object reached another way answers through its IDispatch.
        p.applicationInterfaceId.clear();
        p.plotInterfaceId.clear();
    }
    return std::nullopt;
}

}  // namespace

std::vector<cad::CadProfile> targetCadProfiles(const base::IniFile& ini, std::vector<std::wstring>& problems) {
    std::vector<cad::CadProfile> profiles = cad::builtInProfiles();
    const std::wstring_view prefix = kUserProfileSectionPrefix;
    for (const std::wstring& section : ini.sectionNames()) {
        if (section.size() < prefix.size() || !base::sameNameIgnoringCase(section.substr(0, prefix.size()), prefix))
            continue;
        std::wstring name = section.substr(prefix.size());
        while (!name.empty() && name.front() == L' ') name.erase(name.begin());
        cad::CadProfile* existing = nullptr;
        for (cad::CadProfile& p : profiles)
            if (base::sameNameIgnoringCase(p.name, name)) existing = &p;
        // A correction keeps the built-in name, the one the caption and the menu show.
        cad::CadProfile profile = existing ? *existing : cad::CadProfile{};
        if (!existing) profile.name = name;
        std::optional<std::wstring> problem =
            name.empty() ? std::optional<std::wstring>(L"CAD の名前がありません") : applySection(ini, section, profile, existing);
        if (problem) {
            problems.push_back(L"[" + section + L"] は使えません: " + *problem + L"。");
            continue;
        }
        if (existing) *existing = std::move(profile);
        else profiles.push_back(std::move(profile));
    }
    return profiles;
}

}  // namespace app
