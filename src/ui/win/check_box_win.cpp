// The check box: an owner-drawn BUTTON whose state is the widget's. It answers
// BM_GETCHECK like the platform's check box, for tools that read it.
#include <algorithm>

#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

class CheckBoxPeer final : public PeerWin {
public:
    CheckBoxPeer(ui::CheckBox& widget, FormPeer& form) : PeerWin(widget, form), box_(widget) {
        doubleClickIsPress_ = true;
        createSystemControl(L"BUTTON", BS_OWNERDRAW | tabStop());
    }

    void setChecked(bool) override { repaint(); }
    void setText(const std::wstring& text) override {
        PeerWin::setText(text);
        repaint();
    }

    std::optional<LRESULT> onCommand(UINT code) override {
        if (code != BN_CLICKED) return {};
        box_.userClick();  // toggles, then runs the click handler
        return 0;
    }

    bool onDrawItem(const DRAWITEMSTRUCT& item) override {
        const UINT state = item.itemState;
        const bool enabled = !(state & ODS_DISABLED), pressed = state & ODS_SELECTED;
        PaintBuffer buffer(item.hDC, item.rcItem);
        HDC dc = buffer.dc();
        const RECT& r = item.rcItem;
        fill(dc, r, style().brush(surface()));

        const int side = scale(13), line = std::max(1, scale(1));
        const int top = r.top + (r.bottom - r.top - side) / 2;
        const RECT mark{r.left, top, r.left + side, top + side};
        const bool checked = box_.checked();
        COLORREF face = checked ? (hot() ? kPalette.accentLight : kPalette.accent) : (hot() ? kPalette.faceHot : kPalette.field);
        if (pressed) face = kPalette.facePressed;
        if (!enabled) face = kPalette.faceDisabled;
        const COLORREF edge = !enabled ? kPalette.borderDisabled
                              : checked ? face
                              : hot()   ? kPalette.borderHot
                                        : kPalette.border;
        fill(dc, mark, style().brush(face));
        frame(dc, mark, style().brush(edge), line);
        if (checked) checkMark(dc, mark, style().pen(enabled ? kPalette.selectedText : kPalette.textDisabled, 2));

        RECT caption{mark.right + scale(5), r.top, r.right, r.bottom};
        drawText(dc, widget().text(), caption, enabled ? kPalette.text : kPalette.textDisabled, DT_LEFT | DT_VCENTER);
        if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT)) {
            RECT used = caption;
            Selected selected(dc, style().fitting(dc, font(), widget().text(), caption.right - caption.left));
            DrawTextW(dc, widget().text().c_str(), -1, &used, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            const int h = used.bottom - used.top;
            used.top = r.top + (r.bottom - r.top - h) / 2;
            used.bottom = used.top + h;
            InflateRect(&used, scale(2), 0);
            frame(dc, used, style().brush(kPalette.accentLight), line);
        }
        return true;
    }

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM, LPARAM) override {
        if (message == BM_GETCHECK) return box_.checked() ? BST_CHECKED : BST_UNCHECKED;
        return {};
    }
    void repaint() {
        if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
    }

    ui::CheckBox& box_;
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeCheckBoxPeer(ui::CheckBox& widget, FormPeer& form) {
    return std::make_unique<CheckBoxPeer>(widget, form);
}

}  // namespace platform
