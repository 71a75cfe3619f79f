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

// A switch the user writes by hand: a number as parseSettingsInt() reads it (on unless 0),
// or true/false, yes/no, on/off in any letter case. Nothing for other text.
std::optional<bool> parseSettingsSwitch(std::wstring_view text);

// Restores the window's place and size, the controls, the saved names and the target CAD
// (with the user's [CAD:<name>] profiles). Never throws. Values that are not numbers
// where numbers belong take their defaults silently; a file that cannot be read, a switch
// of the user's that cannot be read (ShowGrid, BlockWaku, PlotToFile: off), CAD sections
// that cannot be used and any failure on the way (what was read stays, the rest is the
// default, and the file is then not written at the end) are named in one message.
void readSettings(MainWindow& form);

// Writes every key back, keeping the rest of the file (and a switch the start could not
// read, unless it was turned on since). The file is replaced whole or not at
// all; when that is refused the message "<path> に書き込めません" is shown.
void writeSettings(MainWindow& form);

}  // namespace app
