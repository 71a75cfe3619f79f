// A control on a page that has not shown yet waits for its window: under Wine every
// window costs the start a few milliseconds (a combo box's list is a window of the X
// display), and the hidden page need not be paid for until the user opens it. The
// widget holds the control's state meanwhile, so the peer made when the page shows
// (FormPeer::makeWaitingControls) starts from the state of that moment, as any peer
// does; until then nothing needs mirroring.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/widgets.h"

namespace platform {

// Whether the control lies on a page (a tab sheet, at any depth) that does not show.
inline bool waitsForPage(const ui::Widget& widget) {
    for (const ui::Widget* at = widget.parent(); at; at = at->parent())
        if (at->kind() == ui::Kind::TabSheet && !at->showing()) return true;
    return false;
}

class DeferredPeer final : public ui::WidgetPeer {
public:
    using Maker = std::function<std::unique_ptr<ui::WidgetPeer>()>;
    explicit DeferredPeer(Maker maker) : maker_(std::move(maker)) {}

    // The real peer; null until made.
    ui::WidgetPeer* made() const { return real_.get(); }
    void make() {
        if (!real_) real_ = maker_();
    }

    void setBounds(const ui::Rect& pixels) override { if (real_) real_->setBounds(pixels); }
    void setVisible(bool visible) override { if (real_) real_->setVisible(visible); }
    void setEnabled(bool enabled) override { if (real_) real_->setEnabled(enabled); }
    void setText(const std::wstring& text) override { if (real_) real_->setText(text); }
    void setItems(const std::vector<std::wstring>& items) override { if (real_) real_->setItems(items); }
    void setItemIndex(int index) override { if (real_) real_->setItemIndex(index); }
    void setChecked(bool checked) override { if (real_) real_->setChecked(checked); }
    void setFontHeight(int pixels) override { if (real_) real_->setFontHeight(pixels); }
    void setActivePage(ui::Widget* page) override { if (real_) real_->setActivePage(page); }
    void pictureChanged(const ui::Picture* picture) override { if (real_) real_->pictureChanged(picture); }

private:
    Maker maker_;
    std::unique_ptr<ui::WidgetPeer> real_;
};

}  // namespace platform
