// The desktop services on Win32: windows, the main window, waits and the message pump,
// the Escape key, the screen copy and drawing on photographs with GDI.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include "app/shell_services.h"
#include "cad/com_ptr.h"

namespace platform {

class WinShellServices : public app::ShellServices {
public:
    // The main window: message boxes belong to it while it is shown, it is the window
    // minimised and restored, and its taskbar button shows the progress.
    void setOwner(HWND owner) { owner_ = owner; }

    app::ScreenSize primaryScreenSize() override;
    std::wstring programPath() override;
    void showMessage(const std::wstring& text) override;
    int monitorScaleFactor() override;
    std::wstring decodeAnsi(std::string_view bytes) override;

    bool topLevelWindowExists(std::wstring_view title) override;
    app::WindowHandle findWindowByClass(std::wstring_view className) override;
    app::ScreenRect windowRect(app::WindowHandle window) override;
    app::ScreenRect clientRect(app::WindowHandle window) override;
    app::WindowHandle firstChild(app::WindowHandle window) override;
    app::WindowHandle nextSibling(app::WindowHandle window) override;
    bool isIconic(app::WindowHandle window) override;
    void restoreWindow(app::WindowHandle window) override;
    void bringToForeground(app::WindowHandle window) override;
    app::WindowHandle foregroundWindow() override;

    void minimiseMainWindow() override;
    void restoreMainWindow() override;
    // Needs COM on this thread; without it (or without a taskbar) nothing is shown.
    void setTaskbarProgress(int done, int total) override;

    void sleep(int milliseconds) override;
    void processMessages() override;
    void pressEscapeKey() override;

    std::shared_ptr<app::PixelBitmap> copyScreen(const app::ScreenRect& area) override;
    std::shared_ptr<app::PixelBitmap> shrinkWhiteOnBlack(const app::PixelBitmap& source, int width, int height) override;
    std::unique_ptr<app::Canvas> openCanvas(app::PixelBitmap& target) override;

private:
    HWND owner_ = nullptr;
    cad::com::ComPtr<ITaskbarList3> taskbar_;
    bool taskbarTried_ = false;
};

}  // namespace platform
