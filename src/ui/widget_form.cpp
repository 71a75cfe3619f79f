// The top-level window of the widget seam: creating controls from their arguments and
// placing them (scaling, docking, anchors) for the window's client size and dpi.
#include <algorithm>
#include <cstdint>
#include <map>

#include "ui/widgets.h"

namespace ui {

namespace {

int mulDiv(int a, int b, int c) {
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}

std::unique_ptr<Widget> makeWidget(const WidgetArgs& args, Widget* parent) {
    switch (args.kind) {
        case Kind::Button: return std::make_unique<Button>(args, parent);
        case Kind::Label: return std::make_unique<Label>(args, parent);
        case Kind::Edit: return std::make_unique<Edit>(args, parent);
        case Kind::ComboBox: return std::make_unique<ComboBox>(args, parent);
        case Kind::CheckBox: return std::make_unique<CheckBox>(args, parent);
        case Kind::RadioGroup: return std::make_unique<RadioGroup>(args, parent);
        case Kind::Panel: return std::make_unique<Panel>(args, parent);
        case Kind::Image: return std::make_unique<Image>(args, parent);
        case Kind::PageControl: return std::make_unique<PageControl>(args, parent);
        case Kind::TabSheet: return std::make_unique<TabSheet>(args, parent);
        case Kind::Form: break;
    }
    throw std::logic_error("a form cannot be added to a form: " + args.name);
}

// Places the children of one control inside `client` (its own client area, origin 0,0).
// `scale` turns design pixels into target pixels; `designClient` gives each container's
// client size at design time, which fixes the margins of right and bottom anchors.
struct Placer {
    int dpi;
    const std::map<const Widget*, Rect>* designClient;  // null in the design pass
    std::map<const Widget*, Rect> clientOf;

    int s(int v) const { return mulDiv(v, dpi, 96); }

    Rect clientArea(const Widget& w, const Rect& bounds) const {
        if (w.kind() == Kind::PageControl) {
            const PageInsets in = kPageInsets;
            return {s(in.left), s(in.top), std::max(0, bounds.width - s(in.left) - s(in.right)),
                    std::max(0, bounds.height - s(in.top) - s(in.bottom))};
        }
        return {0, 0, bounds.width, bounds.height};
    }

    template <class Apply>
    void place(const Widget& parent, Rect client, Apply&& apply) {
        clientOf[&parent] = client;
        Rect rest = client;
        auto setAndRecurse = [&](Widget* child, Rect r) {
            apply(*child, r);
            Rect inner = clientArea(*child, r);
            place(*child, {inner.left, inner.top, inner.width, inner.height}, apply);
        };
        // Tab sheets fill their page control's page area; docked controls go top first,
        // then bottom, then fill; hidden docked controls take no room.
        for (Widget* c : parent.children()) {
            if (c->kind() == Kind::TabSheet) setAndRecurse(c, client);
        }
        for (Dock d : {Dock::Top, Dock::Bottom}) {
            for (Widget* c : parent.children()) {
                if (c->args().dock != d || c->kind() == Kind::TabSheet) continue;
                const int h = std::min(s(c->args().design.height), rest.height);
                const Rect r{rest.left, d == Dock::Top ? rest.top : rest.bottom() - h, rest.width, h};
                setAndRecurse(c, r);
                // At design time every control takes its room; at run time a hidden one does not.
                if (designClient && !c->visible()) continue;
                if (d == Dock::Top) rest.top += h;
                rest.height -= h;
            }
        }
        for (Widget* c : parent.children())
            if (c->args().dock == Dock::Fill && c->kind() != Kind::TabSheet) setAndRecurse(c, rest);
        for (Widget* c : parent.children()) {
            if (c->args().dock != Dock::None || c->kind() == Kind::TabSheet) continue;
            const Rect d = c->args().design;
            Rect r{s(d.left), s(d.top), s(d.width), s(d.height)};
            const Anchors a = c->args().anchors;
            if (designClient && (a.right || a.bottom)) {
                const Rect dc = designClient->at(&parent);
                const Rect pc = clientOf.at(&parent);
                if (a.right) {
                    const int margin = s(dc.width - d.right());
                    if (a.left) r.width = std::max(0, pc.width - margin - r.left);
                    else r.left = pc.width - margin - r.width;
                }
                if (a.bottom) {
                    const int margin = s(dc.height - d.bottom());
                    if (a.top) r.height = std::max(0, pc.height - margin - r.top);
                    else r.top = pc.height - margin - r.height;
                }
            }
            r.left += client.left;
            r.top += client.top;
            setAndRecurse(c, r);
        }
    }
};

}  // namespace

Form* Widget::form() const {
    const Widget* w = this;
    while (w->parent()) w = w->parent();
    return w->kind() == Kind::Form ? const_cast<Form*>(static_cast<const Form*>(w)) : nullptr;
}

int Widget::fontPixels() const {
    const int design = args().fontHeight ? args().fontHeight : Form::kFontHeight;
    const Form* f = form();
    return f ? f->scale(design) : design;
}

Form::Form(WidgetArgs args, WidgetFactory& factory, int dpi)
    : Widget(std::move(args), nullptr), factory_(factory), dpi_(dpi) {
    clientWidth_ = scale(this->args().design.width);
    clientHeight_ = scale(this->args().design.height);
    setBounds({0, 0, clientWidth_, clientHeight_});
    attachPeer(factory_.createPeer(*this));
}

Form::~Form() {
    // Children before parents, so that a real control never outlives its parent window.
    while (!controls_.empty()) controls_.pop_back();
}

Widget& Form::add(const WidgetArgs& args) {
    if (find(args.name)) throw std::logic_error("control added twice: " + args.name);
    Widget* parent = this;
    if (!args.parent.empty()) {
        parent = find(args.parent);
        if (!parent) throw std::logic_error("parent " + args.parent + " of " + args.name + " is not created yet");
    }
    controls_.push_back(makeWidget(args, parent));
    Widget& w = *controls_.back();
    if (args.kind == Kind::TabSheet && parent->kind() == Kind::PageControl) {
        auto& pages = static_cast<PageControl&>(*parent);
        if (!pages.activePage()) pages.setActivePage(static_cast<TabSheet*>(&w));
    }
    const Rect d = args.design;
    w.setBounds({scale(d.left), scale(d.top), scale(d.width), scale(d.height)});
    w.attachPeer(factory_.createPeer(w));
    layout();
    return w;
}

Widget* Form::find(const std::string& name) const {
    for (const auto& c : controls_)
        if (c->name() == name) return c.get();
    return nullptr;
}

int Form::scale(int designValue) const { return mulDiv(designValue, dpi_, 96); }

Rect Form::windowRect() const { return peer() ? peer()->windowRect() : Rect{}; }

void Form::close() {
    if (peer()) peer()->close();
}

void Form::setSystemMenu(std::vector<MenuItem> items) {
    systemMenu_ = std::move(items);
    if (peer()) peer()->systemMenuChanged(systemMenu_);
}

namespace {

// Runs the command at the path; false when there is none there.
bool runMenuCommand(const std::vector<MenuItem>& menu, const std::vector<std::size_t>& path) {
    const MenuItem* item = menuItemAt(menu, path);
    if (!item || !item->items.empty()) return false;
    const std::function<void()> chosen = item->chosen;  // may replace the menu
    if (chosen) chosen();
    return true;
}

}  // namespace

const MenuItem* menuItemAt(const std::vector<MenuItem>& menu, const std::vector<std::size_t>& path) {
    const std::vector<MenuItem>* level = &menu;
    const MenuItem* item = nullptr;
    for (std::size_t index : path) {
        if (!level || index >= level->size()) return nullptr;
        item = &(*level)[index];
        level = &item->items;
    }
    return item;
}

bool Form::userChooseMenuItem(const std::vector<std::size_t>& path) { return runMenuCommand(systemMenu_, path); }

void Form::popUpMenu(std::vector<MenuItem> items, const Widget& under) {
    popUpMenu_ = std::move(items);
    if (peer()) peer()->popUpMenu(popUpMenu_, under);
}

bool Form::userChoosePopUpItem(const std::vector<std::size_t>& path) { return runMenuCommand(popUpMenu_, path); }

void Form::setWindowRect(const Rect& rect) {
    if (peer()) peer()->setWindowRect(rect);
}

void Form::clientResized(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    setBounds({0, 0, width, height});
    layout();
}

void Form::dpiChanged(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    for (const auto& c : controls_)
        if (c->peer()) c->peer()->setFontHeight(c->fontPixels());
    if (peer()) peer()->setFontHeight(fontPixels());
    layout();
}

void Form::layout() {
    Placer design{96, nullptr, {}};
    design.place(*this, {0, 0, args().design.width, args().design.height}, [](Widget&, const Rect&) {});
    Placer real{dpi_, &design.clientOf, {}};
    real.place(*this, {0, 0, clientWidth_, clientHeight_}, [](Widget& w, const Rect& r) { w.setBounds(r); });
}

}  // namespace ui
