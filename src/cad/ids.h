// Identifiers of the CAD host's automation.
#pragma once

namespace cad {

inline constexpr wchar_t kHostWindowTitle[] = L"nanoCAD 5";
inline constexpr wchar_t kApplicationClassId[] = L"{449354E9-CDD8-4A11-BD82-0D4A3C21E7D2}";
inline constexpr wchar_t kApplicationInterfaceId[] = L"{AFAB189D-226A-4047-B98F-CD75CE56DDE4}";
inline constexpr wchar_t kPlotInterfaceId[] = L"{BB9EB067-27CF-4E44-92ED-5AE2C3A4984B}";
inline constexpr wchar_t kTempSelectionSetName[] = L"ssTemp";

}  // namespace cad
