// The Win32 side of a widget: one window per control, created from the widget's state,
// mirroring what the portable widget tells it and reporting what the user does through
// the widget's user*() entry points.
//
// System controls (BUTTON, EDIT, COMBOBOX, STATIC, the tab control) are subclassed; our
// own windows (the main window, panels, pages, radio groups, images) use our window
// classes. Either way one window procedure unpacks the message and calls the named
// handler below. Windows that hold other controls pass their children's notifications
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) on to the peer of
// the child that sent them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/win/dark_style_win.h"
#include "ui/win/window_proc_win.h"
#include "ui/widgets.h"

namespace platform {

class FormPeer;

class PeerWin : public ui::WidgetPeer {
public:
    PeerWin(ui::Widget& widget, FormPeer& form);
    ~PeerWin() override;
    PeerWin(const PeerWin&) = delete;
    PeerWin& operator=(const PeerWin&) = delete;

    HWND hwnd() const { return hwnd_; }
    ui::Widget& widget() const { return widget_; }
    // The peer behind a window made by a peer; null for any other window.
    static PeerWin* from(HWND window);
    // The peer of a widget, also of one that waited for its page (deferred_peer_win.h);
    // null while it waits.
    static PeerWin* of(const ui::Widget& widget);

    void setBounds(const ui::Rect& pixels) override;
    void setVisible(bool visible) override;
    void setEnabled(bool enabled) override;
    void setText(const std::wstring& text) override;
    void setFontHeight(int pixels) override;

    // Notifications of this control, passed on by its parent window.
    virtual std::optional<LRESULT> onCommand(UINT /*code*/) { return {}; }
    virtual std::optional<LRESULT> onNotify(const NMHDR&) { return {}; }
    virtual bool onDrawItem(const DRAWITEMSTRUCT&) { return false; }
    virtual bool onMeasureItem(MEASUREITEMSTRUCT&) { return false; }
    // WM_CTLCOLOR*: sets the text colours and gives the background brush.
    virtual HBRUSH onControlColour(HDC dc);
    // The colour of this control's surface; see-through controls show their parent's.
    virtual COLORREF surface() const;

    DarkStyle& style() const;
    int scale(int designValue) const;
    HFONT font() const { return font_; }

protected:
    FormPeer& form() const { return form_; }
    bool hot() const { return hot_; }
    bool enabledNow() const { return hwnd_ && IsWindowEnabled(hwnd_); }
    DWORD tabStop() const { return widget_.args().tabStop ? WS_TABSTOP : 0; }
    // One line of the control's text in its font, narrowed when it would not fit `r`.
    void drawText(HDC dc, const std::wstring& s, const RECT& r, COLORREF colour, UINT format) const;

    // Makes the window as a child of the parent's window, at the widget's bounds (or
    // `windowHeight` high), shown and enabled as the widget is, with the widget's font
    // and tooltip. The font is chosen before the window is made, and the control's own
    // WM_MEASUREITEM during its creation reaches this peer.
    void createSystemControl(const wchar_t* windowClass, DWORD style, DWORD exStyle = 0, int windowHeight = 0);
    void createOwnWindow(const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
    // Our window classes, registered once, all with the peers' window procedure.
    static void registerWindowClass(const wchar_t* name, UINT classStyle, HICON icon = nullptr,
                                    HICON smallIcon = nullptr);
    // The top-level window: no parent, no tooltip, the given outer size.
    void createTopLevel(const wchar_t* windowClass, DWORD style, DWORD exStyle, SIZE outer);
    HWND parentWindow() const;
    // The widget's font, chosen before its window is made (font()).
    void chooseFont();
    LRESULT callDefault(UINT message, WPARAM wParam, LPARAM lParam);

    // Named handlers. An empty result leaves the message to the window's own handling.
    virtual std::optional<LRESULT> onMouseDown(ui::MouseButton button, WPARAM keys, LPARAM position);
    virtual void onHotChanged() { InvalidateRect(hwnd_, nullptr, FALSE); }
    virtual std::optional<LRESULT> onPaint() { return {}; }
    virtual std::optional<LRESULT> onEraseBackground(HDC) { return {}; }
    virtual std::optional<LRESULT> onFocus(bool /*gained*/) { return {}; }
    virtual std::optional<LRESULT> onSize(UINT /*kind*/, int /*width*/, int /*height*/) { return {}; }
    virtual std::optional<LRESULT> onNcCalcSize(WPARAM, LPARAM) { return {}; }
    virtual std::optional<LRESULT> onNcPaint() { return {}; }
    virtual std::optional<LRESULT> onMessage(UINT, WPARAM, LPARAM) { return {}; }
    virtual void onFontChanged() {}

    // Children's notifications, for windows that hold controls.
    virtual std::optional<LRESULT> onChildCommand(HWND child, UINT code);
    virtual std::optional<LRESULT> onChildDrawItem(const DRAWITEMSTRUCT& item);
    virtual std::optional<LRESULT> onChildColour(HWND child, HDC dc);

    bool reflectsChildren_ = false;  // this window holds controls
    bool tracksHover_ = true;        // repaint when the mouse comes and goes
    bool doubleClickIsPress_ = false;  // a quick second click is a click, not a double-click

private:
    template <class T> friend LRESULT CALLBACK windowProcedure(HWND, UINT, WPARAM, LPARAM);
    // The window procedure's side of the peer (window_proc_win.h).
    void attachWindow(HWND window) { attach(window); }
    static PeerWin* windowObject(HWND window) { return from(window); }
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT mouseDown(ui::MouseButton button, UINT message, WPARAM wParam, LPARAM lParam);
    void trackHover();
    void hoverEnded();
    LRESULT destroyed(UINT message, WPARAM wParam, LPARAM lParam);
    void attach(HWND window);
    void afterCreate();
    void raiseAboveOverlappedSiblings();

    ui::Widget& widget_;
    FormPeer& form_;
    HWND hwnd_ = nullptr;
    bool own_ = false;
    WNDPROC controlProc_ = nullptr;  // a system control's own procedure
    bool hot_ = false;
    HFONT font_ = nullptr;
};

// The window handle of a widget's peer (null when it has none).
HWND windowOf(const ui::Widget& widget);

// Shared by the owner-drawn buttons, check boxes and radio buttons.
struct ButtonLook {
    COLORREF face, border, text;
};
ButtonLook buttonLook(bool enabled, bool hot, bool pressed, bool focused);

}  // namespace platform
