// The desktop services the program's logic needs: the screen, the program file, message
// boxes, windows of other programs, the main window's state, waits and the message pump,
// and the screen copy and drawing on photographs. The Win32 backend and the test fake
// implement it; the program's logic sees only this.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cad/connect.h"
#include "desktop/canvas.h"
#include "ui/pixel_bitmap.h"

namespace ui {
class Button;
}

namespace desktop {

inline constexpr wchar_t kAppTitle[] = L"Quillon 2.06";

struct ScreenSize {
    int width = 0, height = 0;
};

// A window of any program; 0 is no window. The CAD host reports its windows as such
// numbers too.
using WindowHandle = std::intptr_t;

// A rectangle in screen pixels; right and bottom lie just outside it.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// What failed in a screen copy or a reduction (a device context or bitmap that could not
// be made, a copy the system refused).
class GraphicsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ShellServices : public cad::HostWindowFinder {
public:
    ~ShellServices() override = default;
    // The primary monitor's size in device pixels.
    virtual ScreenSize primaryScreenSize() = 0;
    // The primary monitor's work area: the screen less the taskbar and docked bars.
    virtual ScreenRect primaryWorkArea() = 0;
    // The full path of the running program file.
    virtual std::wstring programPath() = 0;
    // A modal message box with one OK button, captioned kAppTitle, over the main window.
    virtual void showMessage(const std::wstring& text) = 0;
    // The same with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(const std::wstring& text) = 0;
    // The scale of the first monitor in the screen's monitor list in percent (100 at
    // 96 dpi); 100 when the system cannot tell.
    virtual int monitorScaleFactor() = 0;
    // Text in the system's ANSI code page (CP932 on Japanese Windows) as UTF-16.
    virtual std::wstring decodeAnsi(std::string_view bytes) = 0;

    // ---- other programs' windows
    // (topLevelWindowExists(title) and topLevelWindowTitleBegins(prefix), from
    // cad::HostWindowFinder: a top-level window with exactly this title, or a title
    // beginning so, exists.)
    // The first top-level window of this window class; 0 when there is none.
    virtual WindowHandle findWindowByClass(std::wstring_view className) = 0;
    // The window's rectangle in screen pixels; an empty rectangle when it is no window.
    virtual ScreenRect windowRect(WindowHandle window) = 0;
    // Whether the handle names a window that exists now.
    virtual bool isWindow(WindowHandle window) = 0;
    // The window's client area in screen pixels; an empty rectangle when it is no window.
    virtual ScreenRect clientRect(WindowHandle window) = 0;
    // The window's first child (the top of its children in z-order) and the window after
    // a window in z-order (its next sibling); 0 when there is none.
    virtual WindowHandle firstChild(WindowHandle window) = 0;
    virtual WindowHandle nextSibling(WindowHandle window) = 0;
    virtual bool isIconic(WindowHandle window) = 0;
    virtual void restoreWindow(WindowHandle window) = 0;      // from minimised, without waiting
    virtual void bringToForeground(WindowHandle window) = 0;
    virtual WindowHandle foregroundWindow() = 0;

    // ---- the main window
    virtual void minimiseMainWindow() = 0;
    virtual void restoreMainWindow() = 0;  // back to the normal state, whatever it was
    // The progress shown on the main window's taskbar button: `done` of `total`; a total
    // of 0 or less takes the progress away.
    virtual void setTaskbarProgress(int done, int total) = 0;

    // ---- files and folders (full paths)
    // Whether a file or folder of this path exists.
    virtual bool pathExists(const std::wstring& path) = 0;
    // Makes the folder, and the folders above it that are missing; true when the folder
    // is there afterwards.
    virtual bool makeFolder(const std::wstring& path) = 0;
    // The user's Documents folder; empty when the system cannot tell.
    virtual std::wstring documentsFolder() = 0;
    // Shows the folder in the file manager.
    virtual void openFolder(const std::wstring& path) = 0;

    // ---- time and input
    // Today's date on the local clock as yyyymmdd.
    virtual std::wstring localDate() = 0;
    virtual void sleep(int milliseconds) = 0;
    virtual void processMessages() = 0;  // runs what is queued, then returns
    virtual void pressEscapeKey() = 0;   // a synthesised press and release

    // ---- presses made while a call to the CAD is outstanding
    // The system dispatches no input during such a call and may discard it; presses on
    // the watched button made meanwhile (desktop/button_press.h) are noted instead. A new
    // watch (null: none) forgets what was noted.
    virtual void watchPressesDuringCalls(const ui::Button* button) = 0;
    // Whether the watched button was pressed during a call since it was watched or last
    // asked.
    virtual bool takePressDuringCall() = 0;

    // ---- graphics
    // A 32-bit copy of this rectangle of the display, layered windows included
    // (SRCCOPY | CAPTUREBLT). Throws GraphicsError.
    virtual std::shared_ptr<ui::PixelBitmap> copyScreen(const ScreenRect& area) = 0;
    // `source` reduced (or enlarged) to width x height with the stretch mode that ORs the
    // pixels it drops (WHITEONBLACK), so thin light lines on dark survive. Throws GraphicsError.
    virtual std::shared_ptr<ui::PixelBitmap> shrinkWhiteOnBlack(const ui::PixelBitmap& source, int width, int height) = 0;
    // A drawing session on `target` (see Canvas).
    virtual std::unique_ptr<Canvas> openCanvas(ui::PixelBitmap& target) = 0;
};

}  // namespace desktop
