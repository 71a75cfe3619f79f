// The CADs the user can point Quillon at: the built-in profiles, and the user's own from
// sections [CAD:<name>] of the settings file.
#pragma once

#include <string>
#include <vector>

#include "base/ini_file.h"
#include "cad/profiles.h"

namespace app {

inline constexpr wchar_t kUserProfileSectionPrefix[] = L"CAD:";

// The built-in profiles with the file's [CAD:<name>] sections applied. A section named
// as a profile (ASCII case ignored) replaces what it states of that profile, which keeps
// its name as it was spelt before; another
// name adds a profile at the end, and then needs a window rule (Title= or TitlePrefix=)
// and an object rule (ProgID= or CLSID=). Each section that cannot be used is left out
// and described in `problems`.
std::vector<cad::CadProfile> targetCadProfiles(const base::IniFile& ini, std::vector<std::wstring>& problems);

}  // namespace app
