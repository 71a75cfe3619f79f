// The names of plotted files: a pattern of the user's with tokens, made into a name a
// file system takes, and kept apart from every name already used or already there.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cad/automation.h"

namespace plot {

inline constexpr wchar_t kDefaultNamePattern[] = L"{drawing}-{n:02}";

// What the tokens of a pattern stand for, for one sheet:
//   {drawing}   the drawing's file name without its extension
//   {n}         the sheet's number in plot order, 1, 2, ...; {n:0W} zero-padded to W
//               digits (W from 1 to 9)
//   {date}      the date the run started, yyyymmdd
//   {attr:TAG}  the text of the frame's block attribute TAG (letter case not counted);
//               empty for a frame that is not a block reference or has no such tag
struct SheetFields {
    std::wstring drawing;
    int number = 0;
    std::wstring date;
    const std::vector<cad::BlockAttribute>* attributes = nullptr;
};

// What is wrong with a pattern, in Japanese, naming the token; nothing when it is usable.
std::optional<std::wstring> patternProblem(std::wstring_view pattern);
// Whether the pattern has an {attr:...} token (the frames' attributes are then needed).
bool patternUsesAttributes(std::wstring_view pattern);

// The pattern with its tokens filled in, made a name a file system takes: its free text
// shortened until the name takes at most `room` UTF-16 units (from the end of the longest
// of the drawing's name, the date and the attributes' texts, then of the pattern's own
// text; never the sheet's number), characters no file name may hold (\ / : * ? " < > |
// and control characters) become "_", spaces and dots at the end go, a device name of
// the system (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9, COM¹²³, LPT1-9, LPT¹²³, also
// before spaces and a dot: "NUL .x") gains "_" after it, and an empty result becomes the
// sheet's number. The pattern must have no problem.
std::wstring sheetBaseName(std::wstring_view pattern, const SheetFields& fields, std::size_t room = SIZE_MAX);

// The longest path the system's file functions take without the long-path prefix, in
// UTF-16 units (MAX_PATH less the closing null).
inline constexpr std::size_t kMaxPathLength = 259;

// The drawing's name without its extension ("plan.dwg" -> "plan").
std::wstring drawingStem(std::wstring_view fileName);

// The file extension of a device's plots: ".pdf" for a device whose name has "PDF" in
// it, in any letter case; ".plt" for any other.
std::wstring plotFileExtension(std::wstring_view device);

// `name` in `folder`: a separator added unless the folder ends with one ("\\", or "/" for a
// folder written with "/" only).
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);

// Full paths of a run's files in one folder, never one used before in the run nor one
// that exists: "name.ext", else "name (2).ext", "name (3).ext", ... Names are compared
// without letter case, as the file system does. The second form asks the name of
// `baseName(room)`, room being the UTF-16 units the path leaves it within kMaxPathLength
// (0 when the folder takes them all).
class SheetFileNames {
public:
    SheetFileNames(std::wstring folder, std::wstring extension, std::function<bool(const std::wstring&)> exists);
    std::wstring next(const std::wstring& baseName);
    std::wstring next(const std::function<std::wstring(std::size_t room)>& baseName);

private:
    std::wstring folder_, extension_;
    std::function<bool(const std::wstring&)> exists_;
    std::set<std::wstring> used_;  // lower-cased full paths
};

}  // namespace plot
