// The settings file beside the program: read when the main window is created, written
// when it is destroyed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

class MainWindow;

inline constexpr wchar_t kSettingsSection[] = L"MORVEL";

// The program's path with its extension replaced by ".ini".
std::wstring settingsPath(const std::wstring& programPath);

// An integer as the settings file holds it: decimal with an optional sign, or "0x" (either
// case) and hexadecimal digits when longer than two characters. Nothing for other text or
// a value beyond 32 bits.
std::optional<int> parseSettingsInt(std::wstring_view text);

// Restores the window's place and size, the controls, the saved names and the target CAD
// (with the user's [CAD:<name>] profiles). Values that are not numbers where numbers
// belong take their defaults silently; a file that cannot be read, and CAD sections that
// cannot be used, are named in one message.
void readSettings(MainWindow& form);

// Writes every key back, keeping the rest of the file. The file is replaced whole or not at
// all; when that is refused the message "<path> に書き込めません" is shown.
void writeSettings(MainWindow& form);

}  // namespace app
