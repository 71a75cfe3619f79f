// The label: the platform's STATIC, owner-drawn: one line of light text on its parent's
// surface, narrowed rather than cut when its font runs wider than the layout.
#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

class LabelPeer final : public PeerWin {
public:
    LabelPeer(ui::Widget& widget, FormPeer& form) : PeerWin(widget, form) {
        tracksHover_ = false;
        // A label with a hint takes the mouse, so that its tooltip can show.
        createSystemControl(L"STATIC", SS_OWNERDRAW | SS_NOPREFIX | (widget.args().hint.empty() ? 0 : SS_NOTIFY));
    }

    void setText(const std::wstring& text) override {
        PeerWin::setText(text);
        if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
    }

    bool onDrawItem(const DRAWITEMSTRUCT& item) override {
        PaintBuffer buffer(item.hDC, item.rcItem);
        HDC dc = buffer.dc();
        fill(dc, item.rcItem, style().brush(surface()));
        drawText(dc, widget().text(), item.rcItem, enabledNow() ? kPalette.text : kPalette.textDisabled, DT_LEFT | DT_TOP);
        return true;
    }
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeLabelPeer(ui::Widget& widget, FormPeer& form) {
    return std::make_unique<LabelPeer>(widget, form);
}

}  // namespace platform
