// The CADs Quillon can work beside: how each one's main window is known and how its
// automation object is reached. The nanoCAD 5 rule is the default; the others share the
// same object model (the members of members.cpp have the same names there).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cad {

struct CadProfile {
    std::wstring name;          // shown in the caption and the menu
    std::wstring windowTitle;   // the main window's whole title, or its beginning
    bool titleIsPrefix = false;
    // The automation object: the running one registered under this ProgID (never a new
    // CAD started), or, without a ProgID, one made by this class id.
    std::wstring progId;
    std::wstring classId;
    // The interfaces asked of the application and the plot objects; empty: their
    // IDispatch is used as it comes.
    std::wstring applicationInterfaceId;
    std::wstring plotInterfaceId;
};

inline constexpr wchar_t kDefaultProfileName[] = L"nanoCAD";

// The built-in profiles, the default first.
const std::vector<CadProfile>& builtInProfiles();

// The index in `profiles` of the profile of that name (letter case ignored); when none has
// it, the index of the default profile, and 0 when that is missing too. Always an index
// of the same list, so a list that is not empty can be indexed with it.
std::size_t profileIndex(const std::vector<CadProfile>& profiles, std::wstring_view name);

// The profile of that name, or the default one, as profileIndex() finds it in `profiles`;
// the built-in default for an empty list.
const CadProfile& profileNamed(const std::vector<CadProfile>& profiles, std::wstring_view name);

// Whether a window title is the profile's main window.
bool titleMatches(const CadProfile& profile, std::wstring_view title);

// Whether text is a class id in registry form: {8-4-4-4-12 hexadecimal digits}.
bool isClassIdText(std::wstring_view text);

}  // namespace cad
