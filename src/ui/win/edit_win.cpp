// The edit: the platform's EDIT on a dark field. Its frame is ours (a line that lights up
// on hover and focus) and its one line of text sits in the middle of the field's height.
// Only typing reaches the widget; text set by the program does not.
#include <windows.h>
#include <imm.h>

#include <algorithm>

#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

DWORD alignment(ui::TextAlign align) {
    switch (align) {
        case ui::TextAlign::Center: return ES_CENTER;
        case ui::TextAlign::Right: return ES_RIGHT;
        case ui::TextAlign::Left: break;
    }
    return ES_LEFT;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

class EditPeer final : public PeerWin {
public:
    EditPeer(ui::Edit& widget, FormPeer& form) : PeerWin(widget, form), edit_(widget) {
        const DWORD style = ES_AUTOHSCROLL | alignment(widget.args().alignment) |
                            (widget.readOnly() ? ES_READONLY : 0) | tabStop();
        createSystemControl(L"EDIT", style);
        onFontChanged();
    }

    void setText(const std::wstring& text) override {
        quiet_ = true;
        PeerWin::setText(text);
        quiet_ = false;
    }

    void setEnabled(bool enabled) override {
        PeerWin::setEnabled(enabled);
        if (hwnd()) repaintFrame();
    }

    std::optional<LRESULT> onCommand(UINT code) override {
        if (code != EN_CHANGE || quiet_) return {};
        const std::wstring typed = windowText(hwnd());
        if (typed != edit_.text() && !edit_.userTyped(typed)) setText(edit_.text());  // refused: undo
        return 0;
    }

    HBRUSH onControlColour(HDC dc) override {
        const COLORREF back = fieldColour();
        SetTextColor(dc, enabledNow() ? kPalette.text : kPalette.textDisabled);
        SetBkColor(dc, back);
        return style().brush(back);
    }

private:
    COLORREF fieldColour() const {
        if (!enabledNow()) return kPalette.fieldDisabled;
        return edit_.readOnly() ? kPalette.fieldReadOnly : kPalette.field;
    }

    void repaintFrame() { RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE); }
    void onHotChanged() override { repaintFrame(); }

    void onFontChanged() override {
        if (!hwnd()) return;
        textHeight_ = lineHeight(WindowDc(hwnd()).get(), font());
        SendMessageW(hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(scale(2), scale(2)));
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::optional<LRESULT> onFocus(bool gained) override {
        if (gained && edit_.args().imeClosed) {
            if (HIMC context = ImmGetContext(hwnd())) {
                ImmSetOpenStatus(context, FALSE);
                ImmReleaseContext(hwnd(), context);
            }
        }
        repaintFrame();
        return {};
    }

    // The frame: one line all round, and above and below the text what centres it.
    std::optional<LRESULT> onNcCalcSize(WPARAM calcValid, LPARAM lParam) override {
        RECT& r = calcValid ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        const int line = std::max(1, scale(1));
        const int spare = std::max(0, static_cast<int>(r.bottom - r.top) - 2 * line - textHeight_);
        r.left += line;
        r.right = std::max(r.left, r.right - line);
        r.top += line + spare / 2;
        r.bottom = std::max(r.top, r.bottom - line - (spare - spare / 2));
        return 0;
    }

    std::optional<LRESULT> onNcPaint() override {
        HDC dc = GetWindowDC(hwnd());
        RECT window{}, client{};
        GetWindowRect(hwnd(), &window);
        GetClientRect(hwnd(), &client);
        MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -window.left, -window.top);
        OffsetRect(&window, -window.left, -window.top);
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        fill(dc, window, style().brush(fieldColour()));
        const bool focused = GetFocus() == hwnd();
        const COLORREF edge = !enabledNow() ? kPalette.borderDisabled
                              : focused     ? kPalette.accentLight
                              : hot()       ? kPalette.borderHot
                                            : kPalette.border;
        frame(dc, window, style().brush(edge), std::max(1, scale(1)));
        ReleaseDC(hwnd(), dc);
        return 0;
    }

    // A click above or below the line of text still goes to the edit.
    std::optional<LRESULT> onMessage(UINT message, WPARAM, LPARAM) override {
        if (message == WM_NCHITTEST) return HTCLIENT;
        return {};
    }

    ui::Edit& edit_;
    int textHeight_ = 0;
    bool quiet_ = false;
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeEditPeer(ui::Edit& widget, FormPeer& form) {
    return std::make_unique<EditPeer>(widget, form);
}

}  // namespace platform
