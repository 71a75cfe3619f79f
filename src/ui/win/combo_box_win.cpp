// The combo box: the platform's COMBOBOX, pick-only (CBS_DROPDOWNLIST) or editable
// (CBS_DROPDOWN), with owner-drawn rows so that the open list is dark, and its field,
// frame and button painted by us. Only the user's pick or typing reaches the widget:
// what the program sets is applied quietly.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "ui/win/form_win.h"
#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

std::wstring itemText(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

class ComboBoxPeer final : public PeerWin {
public:
    ComboBoxPeer(ui::ComboBox& widget, FormPeer& form) : PeerWin(widget, form), box_(widget) {
        const DWORD kind = widget.pickOnly() ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL;
        // Made at its whole height, the open list's included, and measured (onMeasureItem)
        // while it is made: each later change of its size or rows moves the list too,
        // which under Wine is a window of the X display.
        chooseFont();
        placedRows_ = rowHeight();
        createSystemControl(WC_COMBOBOXW, kind | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | tabStop(), 0,
                            windowHeight(widget.bounds().height, placedRows_));
        if (!hwnd()) return;
        placed_ = widget.bounds();
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(hwnd(), &info)) {
            list_ = info.hwndList;
            if (info.hwndItem != hwnd()) edit_ = info.hwndItem;
        }
        if (list_) useDarkControlTheme(list_);
        if (edit_ && !widget.args().hint.empty()) form.addTip(edit_, widget.args().hint);
        SendMessageW(hwnd(), CB_SETMINVISIBLE, std::max(1, widget.args().dropDownRows), 0);
        setItems(widget.items());
        setItemIndex(widget.itemIndex());
        setText(widget.text());
        onFontChanged();
    }

    ~ComboBoxPeer() override {
        if (edit_) form().removeTip(edit_);
    }

    void setItems(const std::vector<std::wstring>& items) override {
        quiet_ = true;
        SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
        for (const auto& item : items) SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        quiet_ = false;
    }

    void setItemIndex(int index) override {
        quiet_ = true;
        SendMessageW(hwnd(), CB_SETCURSEL, index, 0);
        quiet_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
    }

    void setText(const std::wstring& text) override {
        if (box_.pickOnly()) return;  // the field shows the chosen row
        quiet_ = true;
        SetWindowTextW(hwnd(), text.c_str());
        quiet_ = false;
    }

    void setBounds(const ui::Rect& r) override {
        if (!hwnd()) return;
        const int rows = static_cast<int>(SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0));
        if (!(r == placed_) || rows != placedRows_) {
            SetWindowPos(hwnd(), nullptr, r.left, r.top, r.width, windowHeight(r.height, rows),
                         SWP_NOZORDER | SWP_NOACTIVATE);
            placed_ = r;
            placedRows_ = rows;
        }
        if (r.height != fittedHeight_) fitField(r.height);
    }

    std::optional<LRESULT> onCommand(UINT code) override {
        switch (code) {
            case CBN_SELCHANGE: return userPicked();
            case CBN_EDITCHANGE: return userTyped();
            case CBN_SETFOCUS: case CBN_KILLFOCUS: case CBN_DROPDOWN: case CBN_CLOSEUP:
                InvalidateRect(hwnd(), nullptr, FALSE);
                return {};
            default: return {};
        }
    }

    // Asked while the box is made: its field (item -1) and its rows.
    bool onMeasureItem(MEASUREITEMSTRUCT& item) override {
        const bool field = item.itemID == static_cast<UINT>(-1);
        item.itemHeight = static_cast<UINT>(field ? firstFieldRow(box_.bounds().height) : rowHeight());
        return true;
    }

    bool onDrawItem(const DRAWITEMSTRUCT& item) override {
        if (item.itemState & ODS_COMBOBOXEDIT) {
            paintField(item.hDC, item.rcItem);
            return true;
        }
        const bool chosen = item.itemState & ODS_SELECTED;
        fill(item.hDC, item.rcItem, style().brush(chosen ? kPalette.accent : kPalette.field));
        if (item.itemID == static_cast<UINT>(-1)) return true;
        RECT r = item.rcItem;
        r.left += scale(4);
        text(item.hDC, itemText(hwnd(), static_cast<int>(item.itemID)), r, chosen ? kPalette.selectedText : kPalette.text,
             font(), DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
        return true;
    }

    HBRUSH onControlColour(HDC dc) override {
        const COLORREF back = enabledNow() ? kPalette.field : kPalette.fieldDisabled;
        SetTextColor(dc, enabledNow() ? kPalette.text : kPalette.textDisabled);
        SetBkColor(dc, back);
        return style().brush(back);
    }

private:
    std::optional<LRESULT> userPicked() {
        if (quiet_) return 0;
        const int index = static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
        if (index >= 0 && !box_.userPick(index)) setItemIndex(box_.itemIndex());  // refused: back
        return 0;
    }

    std::optional<LRESULT> userTyped() {
        if (quiet_) return 0;
        const std::wstring typed = windowText(hwnd());
        if (!box_.userTyped(typed)) setText(box_.text());
        return 0;
    }

    int rowHeight() const {
        return lineHeight(WindowDc(hwnd()).get(), font()) + scale(4);
    }

    // The window's height includes the open list; the widget's is the field's.
    int windowHeight(int fieldHeight, int rows) const {
        return fieldHeight + std::max(1, box_.args().dropDownRows) * std::max(1, rows) + scale(2);
    }

    int closedHeight() const {
        RECT r{};
        GetWindowRect(hwnd(), &r);
        return static_cast<int>(r.bottom - r.top);
    }

    // A first guess of the field's row for a closed box `height` pixels high.
    int firstFieldRow(int height) const { return std::max(1, height - scale(6)); }

    // The field's row height is what makes the closed box `height` pixels high.
    void fitField(int height) {
        fittedHeight_ = height;
        if (closedHeight() == height) return;  // measured right when it was made
        int row = firstFieldRow(height);
        for (int attempt = 0; attempt < 3; ++attempt) {
            SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), row);
            const int off = height - closedHeight();
            if (off == 0 || row + off < 1) break;
            row += off;
        }
    }

    void onFontChanged() override {
        if (!hwnd()) return;
        const int rows = rowHeight();
        if (SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0) != rows) SendMessageW(hwnd(), CB_SETITEMHEIGHT, 0, rows);
        fittedHeight_ = -1;
        setBounds(box_.bounds());
    }

    bool focused() const {
        HWND focus = GetFocus();
        return focus && (focus == hwnd() || focus == edit_);
    }
    bool dropped() const { return SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

    void paintField(HDC dc, const RECT& r) {
        const bool enabled = enabledNow(), lit = enabled && focused() && !dropped();
        fill(dc, r, style().brush(lit ? kPalette.accent : enabled ? kPalette.field : kPalette.fieldDisabled));
        const int index = static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
        if (index < 0) return;
        RECT inner = r;
        inner.left += scale(3);
        const COLORREF colour = !enabled ? kPalette.textDisabled : lit ? kPalette.selectedText : kPalette.text;
        text(dc, itemText(hwnd(), index), inner, colour, font(), DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    }

    std::optional<LRESULT> onEraseBackground(HDC) override { return TRUE; }

    std::optional<LRESULT> onPaint() override {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(hwnd(), &info);
        ClientPaint paint(hwnd());
        HDC dc = paint.dc();
        if (edit_) ExcludeClipRect(dc, info.rcItem.left, info.rcItem.top, info.rcItem.right, info.rcItem.bottom);
        const bool enabled = enabledNow(), open = dropped();
        fill(dc, paint.client(), style().brush(enabled ? kPalette.field : kPalette.fieldDisabled));
        const COLORREF button = !enabled ? kPalette.fieldDisabled : open ? kPalette.facePressed : hot() ? kPalette.faceHot : kPalette.field;
        fill(dc, info.rcButton, style().brush(button));
        chevronDown(dc, info.rcButton, style().pen(enabled ? kPalette.text : kPalette.textDisabled), scale(8));
        const COLORREF edge = !enabled               ? kPalette.borderDisabled
                              : focused() || open    ? kPalette.accentLight
                              : hot()                ? kPalette.borderHot
                                                     : kPalette.border;
        frame(dc, paint.client(), style().brush(edge), std::max(1, scale(1)));
        if (!edit_) paintField(dc, info.rcItem);
        return 0;
    }

    // The colours of the edit and of the open list, asked of the combo box itself.
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
            case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORSTATIC:
                return reinterpret_cast<LRESULT>(onControlColour(reinterpret_cast<HDC>(wParam)));
            case WM_ENABLE: InvalidateRect(hwnd(), nullptr, FALSE); return {};
            default: return {};
        }
    }

    ui::ComboBox& box_;
    HWND list_ = nullptr, edit_ = nullptr;
    ui::Rect placed_;     // where the window was put last, and with what row height
    int placedRows_ = 0;
    int fittedHeight_ = -1;
    bool quiet_ = false;
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeComboBoxPeer(ui::ComboBox& widget, FormPeer& form) {
    return std::make_unique<ComboBoxPeer>(widget, form);
}

}  // namespace platform
