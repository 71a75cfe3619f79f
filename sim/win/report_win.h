// Messages of the stand-in to whoever started it: the standard streams when it has them
// (a console, a pipe, a file), else, or as well, a message box.
#pragma once

#include <windows.h>

#include <string_view>

namespace sim {

enum class Stream { Out, Err };

// Writes UTF-8 text to the stream; false when the process has no such stream.
bool writeToStream(Stream stream, std::wstring_view text);

// A message box captioned "cadsim", unless boxes were switched off (CADSIM_NO_DIALOG).
void showMessageBox(std::wstring_view text, UINT icon);

}  // namespace sim
