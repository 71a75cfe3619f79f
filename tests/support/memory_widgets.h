// The in-memory widget backend: peers that only remember what they were told, for the
// native tests. A test drives the user's side through the widgets' user*() entry points
// and checks both the portable state and what reached the peer.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/widgets.h"

namespace ui {

class MemoryPeer : public WidgetPeer {
public:
    explicit MemoryPeer(Widget& widget);

    void setBounds(const Rect& pixels) override { bounds = pixels; }
    void setVisible(bool v) override { visible = v; }
    void setEnabled(bool e) override { enabled = e; }
    void setText(const std::wstring& t) override { text = t; }
    void setItems(const std::vector<std::wstring>& list) override { items = list; }
    void setItemIndex(int index) override { itemIndex = index; }
    void setChecked(bool c) override { checked = c; }
    void setFontHeight(int pixels) override { fontHeight = pixels; }
    void setActivePage(Widget* page) override { activePage = page; }
    void pictureChanged(const Picture* p) override { picture = p; ++pictureUpdates; }

    // What the real control would show.
    Rect bounds;
    bool visible, enabled;
    std::wstring text;
    std::vector<std::wstring> items;
    int itemIndex = -1;
    bool checked = false;
    int fontHeight = 0;
    Widget* activePage = nullptr;
    const Picture* picture = nullptr;
    int pictureUpdates = 0;
};

// The top-level window: a frame of fixed size around the client area, like a sizeable
// window at 96 dpi; moving or sizing it reports the new client size to the form.
class MemoryFormPeer : public MemoryPeer {
public:
    static constexpr int kFrameWidth = 16, kFrameHeight = 39;  // at 96 dpi

    explicit MemoryFormPeer(Form& form);
    Rect windowRect() const override { return window_; }
    void setWindowRect(const Rect& rect) override;
    void close() override { ++closeRequests; }
    void popUpMenu(const std::vector<MenuItem>&, const Widget& under) override { poppedUpUnder = &under; }

    // How often the program closed the window itself.
    int closeRequests = 0;
    // The control the last menu popped up under (the form keeps the menu).
    const Widget* poppedUpUnder = nullptr;

private:
    Form& form_;
    Rect window_;
};

class MemoryWidgetFactory : public WidgetFactory {
public:
    std::unique_ptr<WidgetPeer> createPeer(Widget& widget) override;

    // The peer of a control by name; null when none was made.
    MemoryPeer* peer(const std::string& name) const;
    // Names in creation order.
    const std::vector<std::string>& created() const { return created_; }

private:
    std::map<std::string, MemoryPeer*> peers_;
    std::vector<std::string> created_;
};

}  // namespace ui
