// Panels and pages: windows that hold controls on a dark surface.
#include "ui/win/container_win.h"

#include "ui/win/peer_kinds_win.h"

namespace platform {

ContainerPeer::ContainerPeer(ui::Widget& widget, FormPeer& form, COLORREF surface)
    : PeerWin(widget, form), surface_(surface) {
    reflectsChildren_ = true;
    tracksHover_ = false;
    registerWindowClass(kContainerClass, 0);
}

std::optional<LRESULT> ContainerPeer::onEraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, style().brush(surface_));
    return TRUE;
}

namespace {

class PanelPeer final : public ContainerPeer {
public:
    PanelPeer(ui::Widget& widget, FormPeer& form) : ContainerPeer(widget, form, kPalette.page) {
        createOwnWindow(kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    }
};

// A page shows only while it is visible and the active page of its page control, which
// decides that for all its pages at once.
class TabSheetPeer final : public ContainerPeer {
public:
    TabSheetPeer(ui::TabSheet& widget, FormPeer& form) : ContainerPeer(widget, form, kPalette.page) {
        createOwnWindow(kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
        const auto* pages = static_cast<const ui::PageControl*>(widget.parent());
        const bool shown = widget.visible() && pages && pages->activePage() == &widget;
        if (hwnd() && !shown) ShowWindow(hwnd(), SW_HIDE);
        refreshPages();  // its tab, when it has one
    }
    void setVisible(bool) override { refreshPages(); }
    void setText(const std::wstring& text) override {
        PeerWin::setText(text);
        refreshPages();
    }

private:
    void refreshPages() {
        auto* pages = static_cast<ui::PageControl*>(widget().parent());
        if (pages && pages->peer()) pages->peer()->setActivePage(pages->activePage());
    }
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makePanelPeer(ui::Widget& widget, FormPeer& form) {
    return std::make_unique<PanelPeer>(widget, form);
}

std::unique_ptr<ui::WidgetPeer> makeTabSheetPeer(ui::TabSheet& widget, FormPeer& form) {
    return std::make_unique<TabSheetPeer>(widget, form);
}

}  // namespace platform
