// The main window's peer: the top-level window with its caption, frame and dpi, the dark
// style its controls paint with, and the tooltip that shows every hint.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/win/dark_style_win.h"
#include "ui/win/peer_win.h"

namespace platform {

inline constexpr wchar_t kMainWindowClass[] = L"MainWindow";
// Sizeable, with the system menu and the minimize button only; always on top, with a
// taskbar button of its own.
inline constexpr DWORD kMainWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
inline constexpr DWORD kMainWindowExStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
// The command of the program's system menu command i (counted through the submenus, in
// order) is kFirstMenuCommand + i * kMenuCommandStep (the system keeps the low four bits
// of a WM_SYSCOMMAND for itself).
inline constexpr UINT kFirstMenuCommand = 0x1000, kMenuCommandStep = 0x10;
// The program's icon: the icon resource of this number in the program file (quillon.rc).
// A program without one (the tests) shows the system's.
inline constexpr int kProgramIconId = 1;

class FormPeer final : public PeerWin {
public:
    // Makes the window, hidden, with the form's client size at the form's dpi.
    explicit FormPeer(ui::Form& form);
    ~FormPeer() override;

    static FormPeer* of(const ui::Form& form);
    ui::Form& formWidget() const { return static_cast<ui::Form&>(widget()); }
    DarkStyle& darkStyle() { return style_; }

    // Runs once when the window goes away (closed by the user, or the session ends),
    // while every control still exists.
    std::function<void()> onClosed;

    void show(int how);

    // Makes the windows of the controls that waited for their page (deferred_peer_win.h)
    // once it shows.
    void makeWaitingControls();

    void addTip(HWND control, const std::wstring& text);
    void removeTip(HWND control);
    HWND tooltip() const { return tooltip_; }

    void setBounds(const ui::Rect&) override {}  // the window's own size drives the form
    void setVisible(bool visible) override;
    void setFontHeight(int pixels) override;
    ui::Rect windowRect() const override;
    void setWindowRect(const ui::Rect& rect) override;
    void close() override;
    void systemMenuChanged(const std::vector<ui::MenuItem>& items) override;
    void popUpMenu(const std::vector<ui::MenuItem>& items, const ui::Widget& under) override;
    COLORREF surface() const override { return kPalette.window; }

private:
    std::optional<LRESULT> onEraseBackground(HDC dc) override;
    std::optional<LRESULT> onSize(UINT kind, int width, int height) override;
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT onDpiChanged(int dpi, const RECT& suggested);
    LRESULT onActivate(bool active);
    void closed();
    void makeTooltip();

    DarkStyle style_;
    HWND tooltip_ = nullptr;
    HWND lastFocus_ = nullptr;
    UINT menuItemsAdded_ = 0;  // our items at the end of the system menu, after a separator
    // The path of each command of our system menu items, in command order.
    std::vector<std::vector<std::size_t>> systemMenuCommands_;
    bool makingWaiting_ = false;
};

// The message loop of the program: runs until the quit message, with keyboard navigation
// between the controls of `main`. Returns the quit code.
int runMessageLoop(HWND main);

}  // namespace platform
