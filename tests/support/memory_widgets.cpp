// The in-memory widget backend (see memory_widgets.h).
#include "support/memory_widgets.h"

namespace ui {

MemoryPeer::MemoryPeer(Widget& widget)
    : bounds(widget.bounds()), visible(widget.visible()), enabled(widget.enabled()), text(widget.text()) {
    if (auto* combo = dynamic_cast<ComboBox*>(&widget)) {
        items = combo->items();
        itemIndex = combo->itemIndex();
    } else if (auto* radio = dynamic_cast<RadioGroup*>(&widget)) {
        items = radio->items();
        itemIndex = radio->itemIndex();
    } else if (auto* check = dynamic_cast<CheckBox*>(&widget)) {
        checked = check->checked();
    } else if (auto* pages = dynamic_cast<PageControl*>(&widget)) {
        activePage = pages->activePage();
    }
    fontHeight = widget.fontPixels();
}

MemoryFormPeer::MemoryFormPeer(Form& form) : MemoryPeer(form), form_(form) {
    const Rect client = form.bounds();
    window_ = {0, 0, client.width + form.scale(kFrameWidth), client.height + form.scale(kFrameHeight)};
}

void MemoryFormPeer::setWindowRect(const Rect& rect) {
    window_ = rect;
    const int w = rect.width - form_.scale(kFrameWidth), h = rect.height - form_.scale(kFrameHeight);
    form_.clientResized(w < 0 ? 0 : w, h < 0 ? 0 : h);
}

std::unique_ptr<WidgetPeer> MemoryWidgetFactory::createPeer(Widget& widget) {
    std::unique_ptr<MemoryPeer> peer;
    if (widget.kind() == Kind::Form)
        peer = std::make_unique<MemoryFormPeer>(static_cast<Form&>(widget));
    else
        peer = std::make_unique<MemoryPeer>(widget);
    peers_[widget.name()] = peer.get();
    created_.push_back(widget.name());
    return peer;
}

MemoryPeer* MemoryWidgetFactory::peer(const std::string& name) const {
    const auto it = peers_.find(name);
    return it == peers_.end() ? nullptr : it->second;
}

}  // namespace ui
