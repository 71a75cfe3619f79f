// The page control: the platform's tab control, painted dark by us. Only pages whose tab
// is visible get a tab; a page shows while it is visible and active.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/win/form_win.h"
#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

class PageControlPeer final : public PeerWin {
public:
    PageControlPeer(ui::PageControl& widget, FormPeer& form) : PeerWin(widget, form), pages_(widget) {
        tracksHover_ = false;
        createSystemControl(WC_TABCONTROLW, WS_CLIPCHILDREN | TCS_OWNERDRAWFIXED | TCS_FIXEDWIDTH | TCS_FOCUSNEVER,
                            WS_EX_CONTROLPARENT);
        setActivePage(widget.activePage());
    }

    void setActivePage(ui::Widget* active) override {
        if (!hwnd()) return;
        form().makeWaitingControls();  // the page's controls, before it shows
        rebuildTabs();
        for (ui::TabSheet* page : pages_.pages())
            if (HWND window = windowOf(*page)) ShowWindow(window, page->visible() && page == active ? SW_SHOWNA : SW_HIDE);
        const auto at = std::find_if(tabs_.begin(), tabs_.end(), [&](const auto& tab) { return tab.first == active; });
        TabCtrl_SetCurSel(hwnd(), at == tabs_.end() ? -1 : static_cast<int>(at - tabs_.begin()));
        InvalidateRect(hwnd(), nullptr, FALSE);
    }

    std::optional<LRESULT> onNotify(const NMHDR& header) override {
        if (header.code != TCN_SELCHANGE) return {};
        const int index = TabCtrl_GetCurSel(hwnd());
        ui::TabSheet* page = index >= 0 && index < static_cast<int>(tabs_.size()) ? tabs_[index].first : nullptr;
        if (!page || !pages_.userSelectPage(*page)) setActivePage(pages_.activePage());  // refused: back
        return 0;
    }

    COLORREF surface() const override { return kPalette.window; }

private:
    // The tabs follow the pages' visible tabs and captions.
    void rebuildTabs() {
        std::vector<std::pair<ui::TabSheet*, std::wstring>> wanted;
        for (ui::TabSheet* page : pages_.pages())
            if (page->tabVisible()) wanted.emplace_back(page, page->text());
        if (wanted == tabs_) return;
        tabs_ = std::move(wanted);
        TabCtrl_DeleteAllItems(hwnd());
        for (std::size_t i = 0; i < tabs_.size(); ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = tabs_[i].second.data();
            SendMessageW(hwnd(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        sizeTabs();
    }

    int stripHeight() const { return scale(ui::kPageInsets.top) - scale(3); }

    void sizeTabs() {
        int widest = 0;
        {
            const WindowDc dc(hwnd());
            Selected selected(dc.get(), font());
            for (const auto& tab : tabs_) {
                SIZE size{};
                GetTextExtentPoint32W(dc.get(), tab.second.c_str(), static_cast<int>(tab.second.size()), &size);
                widest = std::max(widest, static_cast<int>(size.cx));
            }
        }
        TabCtrl_SetItemSize(hwnd(), widest + scale(20), stripHeight() - scale(2));
    }

    void onFontChanged() override { sizeTabs(); }
    std::optional<LRESULT> onEraseBackground(HDC) override { return TRUE; }

    std::optional<LRESULT> onPaint() override {
        ClientPaint paint(hwnd());
        HDC dc = paint.dc();
        const RECT client = paint.client();
        const int line = std::max(1, scale(1)), top = stripHeight();
        fill(dc, client, style().brush(kPalette.window));
        const RECT page{client.left, top, client.right, client.bottom};
        fill(dc, page, style().brush(kPalette.page));
        frame(dc, page, style().brush(kPalette.border), line);
        const int selected = TabCtrl_GetCurSel(hwnd());
        for (int i = 0; i < static_cast<int>(tabs_.size()); ++i) paintTab(dc, i, i == selected, top, line);
        return 0;
    }

    void paintTab(HDC dc, int index, bool selected, int top, int line) {
        RECT r{};
        if (!TabCtrl_GetItemRect(hwnd(), index, &r)) return;
        r.top = selected ? scale(1) : scale(3);
        r.bottom = selected ? top + line : top;  // the chosen tab runs into its page
        fill(dc, r, style().brush(selected ? kPalette.page : kPalette.face));
        const RECT sides[] = {{r.left, r.top, r.right, r.top + line},
                              {r.left, r.top, r.left + line, r.bottom},
                              {r.right - line, r.top, r.right, r.bottom}};
        for (const RECT& side : sides) fill(dc, side, style().brush(kPalette.border));
        if (selected) fill(dc, RECT{r.left, r.top, r.right, r.top + 2 * line}, style().brush(kPalette.accent));
        drawText(dc, tabs_[index].second, r, selected ? kPalette.text : kPalette.textDim, DT_CENTER | DT_VCENTER);
    }

    ui::PageControl& pages_;
    std::vector<std::pair<ui::TabSheet*, std::wstring>> tabs_;
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makePageControlPeer(ui::PageControl& widget, FormPeer& form) {
    return std::make_unique<PageControlPeer>(widget, form);
}

}  // namespace platform
