// The few desktop services the main window's start and end need. The Win32 backend and
// the test fake implement it; the program's logic sees only this.
#pragma once

#include <string>
#include <string_view>

namespace app {

inline constexpr wchar_t kAppTitle[] = L"Quillon 2.06";

struct ScreenSize {
    int width = 0, height = 0;
};

class ShellServices {
public:
    virtual ~ShellServices() = default;
    // The primary monitor's size in device pixels.
    virtual ScreenSize primaryScreenSize() = 0;
    // The full path of the running program file.
    virtual std::wstring programPath() = 0;
    // A modal message box with one OK button, captioned kAppTitle, over the main window.
    virtual void showMessage(const std::wstring& text) = 0;
    // The scale of the first monitor in the screen's monitor list in percent (100 at
    // 96 dpi); 100 when the system cannot tell.
    virtual int monitorScaleFactor() = 0;
    // Text in the system's ANSI code page (CP932 on Japanese Windows) as UTF-16.
    virtual std::wstring decodeAnsi(std::string_view bytes) = 0;
};

}  // namespace app
