// The desktop services on Win32: windows, the main window, waits and the message pump,
// the Escape key, the screen copy and drawing on photographs with GDI.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include "cad/com_ptr.h"
#include "desktop/shell_services.h"

namespace platform {

class WinShellServices : public desktop::ShellServices {
public:
    // The main window: message boxes belong to it while it is shown, it is the window
    // minimised and restored, and its taskbar button shows the progress.
    void setOwner(HWND owner) { owner_ = owner; }

    desktop::ScreenSize primaryScreenSize() override;
    desktop::ScreenRect primaryWorkArea() override;
    std::wstring programPath() override;
    void showMessage(const std::wstring& text) override;
    bool askYesNo(const std::wstring& text) override;
    int monitorScaleFactor() override;
    std::wstring decodeAnsi(std::string_view bytes) override;

    bool topLevelWindowExists(std::wstring_view title) override;
    bool topLevelWindowTitleBegins(std::wstring_view prefix) override;
    desktop::WindowHandle findWindowByClass(std::wstring_view className) override;
    desktop::ScreenRect windowRect(desktop::WindowHandle window) override;
    bool isWindow(desktop::WindowHandle window) override;
    desktop::ScreenRect clientRect(desktop::WindowHandle window) override;
    desktop::WindowHandle firstChild(desktop::WindowHandle window) override;
    desktop::WindowHandle nextSibling(desktop::WindowHandle window) override;
    bool isIconic(desktop::WindowHandle window) override;
    void restoreWindow(desktop::WindowHandle window) override;
    void bringToForeground(desktop::WindowHandle window) override;
    desktop::WindowHandle foregroundWindow() override;

    void minimiseMainWindow() override;
    void restoreMainWindow() override;
    // Needs COM on this thread; without it (or without a taskbar) nothing is shown.
    void setTaskbarProgress(int done, int total) override;

    bool pathExists(const std::wstring& path) override;
    bool makeFolder(const std::wstring& path) override;
    std::wstring documentsFolder() override;
    void openFolder(const std::wstring& path) override;

    std::wstring localDate() override;
    void sleep(int milliseconds) override;
    void processMessages() override;
    void pressEscapeKey() override;

    void watchPressesDuringCalls(const ui::Button* button) override;
    bool takePressDuringCall() override;
    // For the COM message filter, when messages arrive while a call to the CAD is
    // outstanding: notes a press on the watched button among them, leaving the queue as
    // it is.
    void noteInputDuringCall();

    std::shared_ptr<ui::PixelBitmap> copyScreen(const desktop::ScreenRect& area) override;
    std::shared_ptr<ui::PixelBitmap> shrinkWhiteOnBlack(const ui::PixelBitmap& source, int width, int height) override;
    std::unique_ptr<desktop::Canvas> openCanvas(ui::PixelBitmap& target) override;

private:
    HWND owner_ = nullptr;
    cad::com::ComPtr<ITaskbarList3> taskbar_;
    bool taskbarTried_ = false;
    const ui::Button* watched_ = nullptr;
    bool pressedDuringCall_ = false;
};

}  // namespace platform
