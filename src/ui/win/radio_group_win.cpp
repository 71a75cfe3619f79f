// The radio group: a group frame with its caption, holding one owner-drawn BUTTON per
// item, arranged in columns top to bottom, then left to right. The chosen item is the
// widget's; the buttons answer BM_GETCHECK and WM_GETDLGCODE like radio buttons, so the
// dialog keys (Tab into the chosen one, arrows between them) work as usual.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/win/container_win.h"
#include "ui/win/failure_barrier_win.h"
#include "ui/win/form_win.h"
#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"

namespace platform {

namespace {

constexpr UINT_PTR kItemSubclass = 2;

COLORREF parentSurface(const ui::Widget& widget) {
    const PeerWin* parent = widget.parent() ? PeerWin::of(*widget.parent()) : nullptr;
    return parent ? parent->surface() : kPalette.page;
}

class RadioGroupPeer final : public ContainerPeer {
public:
    RadioGroupPeer(ui::RadioGroup& widget, FormPeer& form)
        : ContainerPeer(widget, form, parentSurface(widget)), group_(widget) {
        createOwnWindow(kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
        if (!hwnd()) return;
        for (std::size_t i = 0; i < widget.items().size(); ++i) {
            const DWORD first = i == 0 ? WS_GROUP | (widget.args().tabStop ? WS_TABSTOP : 0) : 0;
            HWND item = CreateWindowExW(0, L"BUTTON", widget.items()[i].c_str(),
                                        WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | first, 0, 0, 0, 0, hwnd(),
                                        reinterpret_cast<HMENU>(i + 1), GetModuleHandleW(nullptr), nullptr);
            SetWindowSubclass(item, itemProc, kItemSubclass, reinterpret_cast<DWORD_PTR>(this));
            SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
            if (!widget.args().hint.empty()) form.addTip(item, widget.args().hint);
            items_.push_back(item);
        }
        arrange();
    }

    ~RadioGroupPeer() override {
        for (HWND item : items_) {
            form().removeTip(item);
            RemoveWindowSubclass(item, itemProc, kItemSubclass);
            DestroyWindow(item);
        }
        items_.clear();
    }

    void setItemIndex(int) override { repaintItems(); }
    void setText(const std::wstring& text) override {
        PeerWin::setText(text);
        if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
    }
    void setEnabled(bool enabled) override {
        PeerWin::setEnabled(enabled);
        for (HWND item : items_) EnableWindow(item, enabled);
    }

private:
    // The toolkit's arrangement: equal columns, equal rows under the caption.
    void arrange() {
        if (items_.empty()) return;
        RECT client{};
        GetClientRect(hwnd(), &client);
        const int columns = std::max(1, group_.args().columns);
        const int perColumn = (static_cast<int>(items_.size()) + columns - 1) / columns;
        const int textHeight = captionHeight();
        const int width = (client.right - scale(10)) / columns;
        const int room = client.bottom - textHeight - scale(5);
        const int height = std::max(1, room / perColumn);
        const int top = textHeight + scale(1) + (room % perColumn) / 2;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const int column = static_cast<int>(i) / perColumn, row = static_cast<int>(i) % perColumn;
            SetWindowPos(items_[i], nullptr, column * width + scale(8), top + row * height, width, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    int captionHeight() const {
        return lineHeight(WindowDc(hwnd()).get(), font());
    }

    void repaintItems() {
        for (HWND item : items_) InvalidateRect(item, nullptr, FALSE);
    }

    void onFontChanged() override {
        for (HWND item : items_) SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
        arrange();
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

    std::optional<LRESULT> onSize(UINT, int, int) override {
        arrange();
        return 0;
    }

    int indexOf(HWND item) const {
        const auto at = std::find(items_.begin(), items_.end(), item);
        return at == items_.end() ? -1 : static_cast<int>(at - items_.begin());
    }

    std::optional<LRESULT> onChildCommand(HWND child, UINT code) override {
        const int index = indexOf(child);
        if (index < 0 || code != BN_CLICKED) return ContainerPeer::onChildCommand(child, code);
        group_.userPick(index);
        repaintItems();
        return 0;
    }

    std::optional<LRESULT> onPaint() override {
        ClientPaint paint(hwnd());
        HDC dc = paint.dc();
        const RECT client = paint.client();
        fill(dc, client, style().brush(surface()));
        const int line = std::max(1, scale(1)), half = captionHeight() / 2;
        const bool enabled = enabledNow();
        frame(dc, RECT{client.left, client.top + half, client.right, client.bottom},
              style().brush(enabled ? kPalette.border : kPalette.borderDisabled), line);
        RECT caption{client.left + scale(8), client.top, client.right - scale(8), client.top + 2 * half};
        Selected selected(dc, font());
        DrawTextW(dc, group_.text().c_str(), -1, &caption, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        InflateRect(&caption, scale(2), 0);
        fill(dc, caption, style().brush(surface()));
        drawText(dc, group_.text(), caption, enabled ? kPalette.text : kPalette.textDisabled, DT_CENTER | DT_VCENTER);
        return 0;
    }

    std::optional<LRESULT> onChildDrawItem(const DRAWITEMSTRUCT& item) override {
        const int index = indexOf(item.hwndItem);
        if (index < 0) return ContainerPeer::onChildDrawItem(item);
        const UINT state = item.itemState;
        const bool enabled = !(state & ODS_DISABLED), chosen = index == group_.itemIndex();
        const bool hot = index == hotItem_, pressed = state & ODS_SELECTED;
        PaintBuffer buffer(item.hDC, item.rcItem);
        HDC dc = buffer.dc();
        const RECT& r = item.rcItem;
        fill(dc, r, style().brush(surface()));
        const int side = scale(13);
        const int top = r.top + (r.bottom - r.top - side) / 2;
        const COLORREF ring = !enabled ? kPalette.borderDisabled : chosen ? kPalette.accentLight : hot ? kPalette.borderHot : kPalette.border;
        const COLORREF face = !enabled ? kPalette.faceDisabled : pressed ? kPalette.facePressed : hot ? kPalette.faceHot : kPalette.field;
        {
            Selected pen(dc, style().pen(ring));
            Selected brush(dc, style().brush(face));
            Ellipse(dc, r.left, top, r.left + side, top + side);
        }
        if (chosen) {
            const int inset = side * 3 / 10;
            Selected pen(dc, style().pen(enabled ? kPalette.accentLight : kPalette.textDisabled));
            Selected brush(dc, style().brush(enabled ? kPalette.accentLight : kPalette.textDisabled));
            Ellipse(dc, r.left + inset, top + inset, r.left + side - inset, top + side - inset);
        }
        RECT caption{r.left + side + scale(4), r.top, r.right, r.bottom};
        drawText(dc, group_.items()[index], caption, enabled ? kPalette.text : kPalette.textDisabled, DT_LEFT | DT_VCENTER);
        if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT))
            frame(dc, r, style().brush(kPalette.accentLight), std::max(1, scale(1)));
        return TRUE;
    }

    // One item button's own messages: its state, the dialog keys, hover, quick clicks.
    LRESULT onItemMessage(HWND item, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case BM_GETCHECK: return indexOf(item) == group_.itemIndex() ? BST_CHECKED : BST_UNCHECKED;
            case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_RADIOBUTTON;
            case WM_LBUTTONDBLCLK: return DefSubclassProc(item, WM_LBUTTONDOWN, wParam, lParam);
            case WM_MOUSEMOVE:
                if (hotItem_ != indexOf(item)) {
                    hotItem_ = indexOf(item);
                    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, item, 0};
                    TrackMouseEvent(&track);
                    repaintItems();
                }
                break;
            case WM_MOUSELEAVE:
                hotItem_ = -1;
                repaintItems();
                break;
            case WM_NCDESTROY: RemoveWindowSubclass(item, itemProc, kItemSubclass); break;
        }
        return DefSubclassProc(item, message, wParam, lParam);
    }

    static LRESULT CALLBACK itemProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
        return withinBarrier(
            [&] { return reinterpret_cast<RadioGroupPeer*>(data)->onItemMessage(item, message, wParam, lParam); });
    }

    ui::RadioGroup& group_;
    std::vector<HWND> items_;
    int hotItem_ = -1;
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeRadioGroupPeer(ui::RadioGroup& widget, FormPeer& form) {
    return std::make_unique<RadioGroupPeer>(widget, form);
}

}  // namespace platform
