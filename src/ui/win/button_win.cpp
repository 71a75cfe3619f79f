// The push button: the platform's BUTTON, owner-drawn dark, with hover, pressed, focus
// and disabled looks.
#include <algorithm>

#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

class ButtonPeer final : public PeerWin {
public:
    ButtonPeer(ui::Widget& widget, FormPeer& form) : PeerWin(widget, form) {
        doubleClickIsPress_ = true;
        createSystemControl(L"BUTTON", BS_OWNERDRAW | tabStop());
    }

    void setText(const std::wstring& text) override {
        PeerWin::setText(text);
        if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
    }

    std::optional<LRESULT> onCommand(UINT code) override {
        if (code != BN_CLICKED) return {};
        widget().userClick();
        return 0;
    }

    bool onDrawItem(const DRAWITEMSTRUCT& item) override {
        const UINT state = item.itemState;
        const bool focused = (state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT);
        const ButtonLook look = buttonLook(!(state & ODS_DISABLED), hot(), state & ODS_SELECTED, focused);
        PaintBuffer buffer(item.hDC, item.rcItem);
        HDC dc = buffer.dc();
        const int line = std::max(1, scale(1));
        fill(dc, item.rcItem, style().brush(look.face));
        frame(dc, item.rcItem, style().brush(look.border), line);
        if (focused) {
            RECT inner = item.rcItem;
            InflateRect(&inner, -line, -line);
            frame(dc, inner, style().brush(kPalette.accent), line);
        }
        RECT caption = item.rcItem;
        InflateRect(&caption, -2 * line, 0);
        drawText(dc, widget().text(), caption, look.text, DT_CENTER | DT_VCENTER);
        return true;
    }
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeButtonPeer(ui::Widget& widget, FormPeer& form) {
    return std::make_unique<ButtonPeer>(widget, form);
}

}  // namespace platform
