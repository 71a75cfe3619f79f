#include "sim/win/report_win.h"

#include <string>

#include "sim/model/command_line.h"

namespace sim {

bool writeToStream(Stream stream, std::wstring_view text) {
    const HANDLE h = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return false;
    const std::string utf8 = toUtf8(text);
    DWORD written = 0;
    return WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) != FALSE;
}

void showMessageBox(std::wstring_view text, UINT icon) {
    const wchar_t* value = _wgetenv(kNoDialogVariable);
    if (noDialogRequested(value)) return;
    const std::wstring body(text);
    MessageBoxW(nullptr, body.c_str(), L"cadsim", MB_OK | icon);
}

}  // namespace sim
