// The desktop services of the main window's start and end, on Win32.
#pragma once

#include <windows.h>

#include "app/shell_services.h"

namespace platform {

class WinShellServices : public app::ShellServices {
public:
    // Message boxes belong to this window while it is shown.
    void setOwner(HWND owner) { owner_ = owner; }

    app::ScreenSize primaryScreenSize() override;
    std::wstring programPath() override;
    void showMessage(const std::wstring& text) override;
    int monitorScaleFactor() override;
    std::wstring decodeAnsi(std::string_view bytes) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace platform
