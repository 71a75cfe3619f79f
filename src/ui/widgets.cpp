// The portable half of every widget: state, toolkit rules and layout (see ui/widgets.h).
#include "ui/widgets.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ui {

Rect fitCentred(int picW, int picH, int boxW, int boxH) {
    if (picW <= 0 || picH <= 0 || boxW <= 0 || boxH <= 0) return {};
    // One factor for both sides, so that a point of the box maps back to the picture by
    // dividing by that same factor: (X - boxW div 2) / e + picW div 2.
    const double e = std::min(static_cast<double>(boxW) / picW, static_cast<double>(boxH) / picH);
    const int w = static_cast<int>(std::lround(picW * e)), h = static_cast<int>(std::lround(picH * e));
    return {(boxW - w) / 2, (boxH - h) / 2, w, h};
}

// ---- Widget ----

Widget::Widget(WidgetArgs args, Widget* parent)
    : text_(args.text), args_(std::move(args)), parent_(parent), visible_(args_.visible), enabled_(args_.enabled) {
    if (parent_) parent_->children_.push_back(this);
}

Widget::~Widget() {
    if (parent_) std::erase(parent_->children_, this);
}

void Widget::attachPeer(std::unique_ptr<WidgetPeer> peer) { peer_ = std::move(peer); }

void Widget::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (peer_) peer_->setVisible(visible);
    // A docked control gives its room to its siblings while hidden.
    if (args_.dock != Dock::None)
        if (Form* f = form(); f && f != this) f->layout();
}

void Widget::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (peer_) peer_->setEnabled(enabled);
}

bool Widget::showing() const {
    if (!visible_) return false;
    if (!parent_) return true;
    if (args_.kind == Kind::TabSheet && parent_->kind() == Kind::PageControl &&
        static_cast<const PageControl*>(parent_)->activePage() != this)
        return false;
    return parent_->showing();
}

bool Widget::usable() const {
    for (const Widget* w = this; w; w = w->parent_)
        if (!w->enabled_) return false;
    return showing();
}

void Widget::setText(const std::wstring& text) {
    text_ = text;
    if (peer_) peer_->setText(text_);
}

void Widget::setBounds(const Rect& pixels) {
    if (pixels == bounds_) return;
    bounds_ = pixels;
    if (peer_) peer_->setBounds(pixels);
}

bool Widget::userClick() {
    if (!usable()) return false;
    runHandler(onClick);
    return true;
}

bool Widget::userMouseDown(const MouseEvent& event) {
    if (!usable()) return false;
    if (onMouseDown) onMouseDown(*this, event);
    return true;
}

// ---- Edit ----

bool Edit::userTyped(const std::wstring& text) {
    if (!usable() || readOnly()) return false;
    text_ = text;  // the control already shows it
    runHandler(onChange);
    return true;
}

// ---- ComboBox ----

ComboBox::ComboBox(WidgetArgs args, Widget* parent) : Widget(std::move(args), parent), items_(this->args().items) {
    const int index = this->args().itemIndex;
    if (index >= 0 && index < static_cast<int>(items_.size())) {
        itemIndex_ = index;
        if (pickOnly()) text_ = items_[index];
    } else if (pickOnly()) {
        text_.clear();
    }
}

void ComboBox::setItems(std::vector<std::wstring> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    text_.clear();
    if (WidgetPeer* p = peer()) {
        p->setItems(items_);
        p->setItemIndex(-1);
        p->setText(text_);
    }
}

void ComboBox::addItem(const std::wstring& item) {
    items_.push_back(item);
    if (WidgetPeer* p = peer()) {
        p->setItems(items_);
        p->setItemIndex(itemIndex_);
        p->setText(text_);
    }
}

void ComboBox::setItemIndex(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        itemIndex_ = -1;
        text_.clear();
    } else {
        itemIndex_ = index;
        text_ = items_[index];
    }
    if (WidgetPeer* p = peer()) {
        p->setItemIndex(itemIndex_);
        p->setText(text_);
    }
}

std::wstring ComboBox::selectedItem() const {
    if (itemIndex_ < 0 || static_cast<std::size_t>(itemIndex_) >= items_.size()) return {};
    return items_[static_cast<std::size_t>(itemIndex_)];
}

void ComboBox::setText(const std::wstring& text) {
    const auto found = std::find(items_.begin(), items_.end(), text);
    itemIndex_ = found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
    text_ = (pickOnly() && itemIndex_ < 0) ? std::wstring() : text;
    if (WidgetPeer* p = peer()) {
        p->setItemIndex(itemIndex_);
        p->setText(text_);
    }
}

bool ComboBox::userPick(int index) {
    if (!usable() || index < 0 || index >= static_cast<int>(items_.size())) return false;
    itemIndex_ = index;
    text_ = items_[index];
    runHandler(onChange);
    return true;
}

bool ComboBox::userTyped(const std::wstring& text) {
    if (!usable() || pickOnly()) return false;
    text_ = text;
    itemIndex_ = -1;
    runHandler(onChange);
    return true;
}

// ---- CheckBox ----

CheckBox::CheckBox(WidgetArgs args, Widget* parent) : Widget(std::move(args), parent), checked_(this->args().checked) {}

void CheckBox::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (WidgetPeer* p = peer()) p->setChecked(checked_);
    runHandler(onClick);
}

bool CheckBox::userClick() {
    if (!usable()) return false;
    setChecked(!checked_);
    return true;
}

// ---- RadioGroup ----

RadioGroup::RadioGroup(WidgetArgs args, Widget* parent) : Widget(std::move(args), parent), itemIndex_(-1) {
    itemIndex_ = std::clamp(this->args().itemIndex, -1, static_cast<int>(items().size()) - 1);
}

void RadioGroup::setItemIndex(int index) {
    itemIndex_ = std::clamp(index, -1, static_cast<int>(items().size()) - 1);
    if (WidgetPeer* p = peer()) p->setItemIndex(itemIndex_);
}

bool RadioGroup::userPick(int index) {
    if (!usable() || index < 0 || index >= static_cast<int>(items().size())) return false;
    itemIndex_ = index;
    runHandler(onClick);
    return true;
}

// ---- Image ----

Image::Image(WidgetArgs args, Widget* parent)
    : Widget(std::move(args), parent),
      center_(this->args().center),
      stretch_(this->args().stretch),
      proportional_(this->args().proportional) {}

void Image::setFit(bool center, bool stretch, bool proportional) {
    center_ = center;
    stretch_ = stretch;
    proportional_ = proportional;
    pictureChanged();
}

void Image::setPicture(std::shared_ptr<Picture> picture) {
    picture_ = std::move(picture);
    pictureChanged();
}

void Image::pictureChanged() {
    if (WidgetPeer* p = peer()) p->pictureChanged(picture_.get());
}

Rect Image::pictureRect() const {
    if (!picture_) return {};
    const int pw = picture_->width(), ph = picture_->height();
    if (stretch_ && proportional_) {
        Rect r = fitCentred(pw, ph, width(), height());
        if (!center_) r.left = r.top = 0;
        return r;
    }
    if (stretch_) return {0, 0, width(), height()};
    if (center_) return {(width() - pw) / 2, (height() - ph) / 2, pw, ph};
    return {0, 0, pw, ph};
}

// ---- PageControl ----

void TabSheet::setTabVisible(bool visible) {
    tabVisible_ = visible;
    if (parent() && parent()->kind() == Kind::PageControl) {
        auto* pages = static_cast<PageControl*>(parent());
        pages->setActivePage(pages->activePage());  // the tabs follow
    }
}

std::vector<TabSheet*> PageControl::pages() const {
    std::vector<TabSheet*> out;
    for (Widget* child : children())
        if (child->kind() == Kind::TabSheet) out.push_back(static_cast<TabSheet*>(child));
    return out;
}

void PageControl::setActivePage(TabSheet* page) {
    active_ = page;
    if (WidgetPeer* p = peer()) p->setActivePage(page);
}

bool PageControl::userSelectPage(TabSheet& page) {
    if (!usable() || page.parent() != this || !page.tabVisible() || !page.enabled()) return false;
    setActivePage(&page);
    return true;
}

}  // namespace ui
