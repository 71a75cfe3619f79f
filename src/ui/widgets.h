// The widget seam: the controls of the main window as portable objects.
//
// Each control is a portable object (Button, ComboBox, ...) that holds its state and
// implements the toolkit rules the handlers rely on. A backend only mirrors that state
// into a real control through a WidgetPeer, and reports what the user does by calling
// the object's user*() entry points. Two backends exist: Win32 controls and in-memory
// peers for the native tests. Nothing here includes <windows.h>.
//
// Rules shared by both backends (implemented here, once):
//  - Setting a check box's state from code runs its click handler when the state changes.
//  - A pick-only combo box's text is its selected entry, or empty when none is selected.
//  - Setting a combo box's item index outside the list leaves no selection and empty text.
//  - A radio group clamps its item index to -1 ... count-1.
//  - Change handlers run on the user's pick (or typing into an editable combo box),
//    never when code sets the contents or the selection.
//  - A user action reaches a control only while it and all its parents are shown and
//    enabled; the user*() entry points return false otherwise.
//
// Units: design values (args().design, fontHeight) are pixels at 96 dpi. Everything the
// program reads back at run time (width(), height(), mouse positions, window rectangles)
// is in device pixels; Form::layout() scales and places every control.
//
// What a backend does:
//  - WidgetFactory::createPeer makes the real control from widget.args() and the widget's
//    current state (text(), bounds(), visible(), enabled(), items, index, checked), as a
//    child of its parent's peer; the form's peer is the top-level window, client area
//    form.bounds() at form.dpi(). Fonts: Tahoma, widget.fontPixels() high.
//  - It reports the user: Widget::userClick (buttons, check boxes), userMouseDown,
//    ComboBox::userPick / userTyped, Edit::userTyped (only for the user's typing, not for
//    text the program set), RadioGroup::userPick, PageControl::userSelectPage.
//  - The form's peer reports Form::clientResized on every size change and Form::dpiChanged
//    when the window moves to a monitor of another dpi; windowRect()/setWindowRect() are
//    the outer window rectangle on the screen.
//  - A page control draws its tab strip in the top band kPageInsets leaves above the pages;
//    only pages whose tabVisible() is true have a tab.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ui {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class Kind { Form, Button, Label, Edit, ComboBox, CheckBox, RadioGroup, Panel, Image, PageControl, TabSheet };
enum class ComboStyle { Editable, PickOnly };
enum class TextAlign { Left, Center, Right };
// Dock: Top and Bottom keep the design height and take the parent's width; Fill takes what
// the docked siblings leave. Docked controls are placed in creation order.
enum class Dock { None, Top, Bottom, Fill };
struct Anchors {
    bool left = true, top = true, right = false, bottom = false;
    friend bool operator==(const Anchors&, const Anchors&) = default;
};

enum class MouseButton { Left, Right, Middle };
struct MouseEvent {
    MouseButton button = MouseButton::Left;
    bool shift = false, ctrl = false, alt = false;
    int x = 0, y = 0;  // device pixels from the control's top-left corner
};

// Pixels handed to an Image control: 32-bit 0x00RRGGBB, top row first, `stride` pixels
// per row (the memory order of a 32-bit top-down DIB).
struct PixelView {
    const std::uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
};

// A picture an Image control shows. The owner draws into it and then calls
// Image::pictureChanged() so that the control repaints.
class Picture {
public:
    virtual ~Picture() = default;
    virtual PixelView pixels() const = 0;
    int width() const { return pixels().width; }
    int height() const { return pixels().height; }
};

// Where a picture of picW x picH lands in a box of boxW x boxH when shown centred and
// scaled by one factor to fit (enlarged or reduced). Empty for an empty picture or box.
Rect fitCentred(int picW, int picH, int boxW, int boxH);

// Everything a control is created from; the control table is a list of these.
struct WidgetArgs {
    std::string name;                 // "Button11"
    Kind kind = Kind::Panel;
    std::string parent;               // name of the parent control; empty for the form
    Rect design;                      // left, top, width, height at 96 dpi, relative to the parent
    std::wstring text;                // caption or initial text
    std::vector<std::wstring> items;  // combo box and radio group entries
    int itemIndex = -1;
    int columns = 1;                  // radio group
    int fontHeight = 0;               // Tahoma, pixels at 96 dpi; 0: the form's font
    std::wstring hint;                // tooltip; empty: none
    bool enabled = true;
    bool visible = true;
    bool tabStop = true;
    bool readOnly = false;            // edit
    TextAlign alignment = TextAlign::Left;
    bool imeClosed = false;           // the input method is switched off while typing here
    ComboStyle comboStyle = ComboStyle::Editable;
    int dropDownRows = 8;             // combo box: rows of the open list
    bool checked = false;             // check box
    bool tabVisible = true;           // tab sheet: its tab is shown in the page control
    Dock dock = Dock::None;
    Anchors anchors;
    bool center = false, stretch = false, proportional = false;  // image, at start
};

class Widget;
class Form;

// An item of a menu the program makes (the window's system menu, a menu popped up under
// a button): a command, checked or not, or, with items of its own, a submenu.
struct MenuItem {
    std::wstring text;
    bool checked = false;
    std::function<void()> chosen;
    std::vector<MenuItem> items;
};

// The item at that path of indices (one per menu level), or null when there is none.
const MenuItem* menuItemAt(const std::vector<MenuItem>& menu, const std::vector<std::size_t>& path);

// The real control behind a widget. The portable widget calls these after its own state
// changed; a peer never calls a handler itself. Positions are device pixels relative to
// the parent's client area.
class WidgetPeer {
public:
    virtual ~WidgetPeer() = default;
    virtual void setBounds(const Rect& pixels) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setText(const std::wstring& text) = 0;  // caption, edit text, combo field
    virtual void setItems(const std::vector<std::wstring>&) {}
    virtual void setItemIndex(int) {}  // combo box, radio group; -1: none
    virtual void setChecked(bool) {}
    virtual void setFontHeight(int /*pixels*/) {}           // after a dpi change
    virtual void setActivePage(Widget* /*tabSheet*/) {}     // page control
    virtual void pictureChanged(const Picture* /*null: none*/) {}  // image
    // Top-level window only: the outer window rectangle on the screen.
    virtual Rect windowRect() const { return {}; }
    virtual void setWindowRect(const Rect&) {}
    // Top-level window only: closes the window as the user's closing would, once the
    // event that asks for it has ended.
    virtual void close() {}
    // Top-level window only: the program's items of the system menu, after the system's.
    virtual void systemMenuChanged(const std::vector<MenuItem>& /*items*/) {}
    // Top-level window only: shows the menu under the control (the form's popUpMenu) and
    // lets the user choose; a choice reaches the form's userChoosePopUpItem.
    virtual void popUpMenu(const std::vector<MenuItem>& /*items*/, const Widget& /*under*/) {}
};

// Makes the real control for a widget. The widget is complete (args, parent, state) when
// this is called; a parent's peer always exists before its children's.
class WidgetFactory {
public:
    virtual ~WidgetFactory() = default;
    virtual std::unique_ptr<WidgetPeer> createPeer(Widget& widget) = 0;
};

using Handler = std::function<void(Widget& sender)>;
using MouseHandler = std::function<void(Widget& sender, const MouseEvent&)>;

class Widget {
public:
    Widget(WidgetArgs args, Widget* parent);
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    const WidgetArgs& args() const { return args_; }
    const std::string& name() const { return args_.name; }
    Kind kind() const { return args_.kind; }
    Widget* parent() const { return parent_; }
    const std::vector<Widget*>& children() const { return children_; }
    WidgetPeer* peer() const { return peer_.get(); }
    void attachPeer(std::unique_ptr<WidgetPeer> peer);  // once, by the form

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Shown and reachable: this control and every parent visible (and, for a page, the
    // active page of its page control).
    bool showing() const;
    bool usable() const;  // showing and this control and every parent enabled

    const std::wstring& text() const { return text_; }
    virtual void setText(const std::wstring& text);

    // The top-level form this control belongs to (itself for the form).
    Form* form() const;
    // The control's font height in device pixels at the form's current dpi.
    int fontPixels() const;

    Rect bounds() const { return bounds_; }  // device pixels, relative to the parent
    int width() const { return bounds_.width; }
    int height() const { return bounds_.height; }
    void setBounds(const Rect& pixels);  // used by the layout

    // Events. Handlers are bound by the form; an empty handler means no event.
    Handler onClick;
    Handler onChange;
    MouseHandler onMouseDown;

    // From the user (backend or test). False when the control cannot take the action.
    virtual bool userClick();
    bool userMouseDown(const MouseEvent& event);

protected:
    void runHandler(const Handler& handler) { if (handler) handler(*this); }
    std::wstring text_;

private:
    WidgetArgs args_;
    Widget* parent_;
    std::vector<Widget*> children_;
    std::unique_ptr<WidgetPeer> peer_;
    bool visible_;
    bool enabled_;
    Rect bounds_;
};

class Button : public Widget { public: using Widget::Widget; };
class Label : public Widget { public: using Widget::Widget; };
class Panel : public Widget { public: using Widget::Widget; };

class Edit : public Widget {
public:
    using Widget::Widget;
    bool readOnly() const { return args().readOnly; }
    bool userTyped(const std::wstring& text);  // the whole new text; refused when read-only
};

class ComboBox : public Widget {
public:
    ComboBox(WidgetArgs args, Widget* parent);
    bool pickOnly() const { return args().comboStyle == ComboStyle::PickOnly; }
    const std::vector<std::wstring>& items() const { return items_; }
    void setItems(std::vector<std::wstring> items);  // no selection and empty text afterwards
    void addItem(const std::wstring& item);          // keeps the selection
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int index);                    // out of range: no selection, empty text
    std::wstring selectedItem() const;               // the entry at the item index; empty for none
    // Selects the entry equal to `text` (none when there is none); an editable box keeps
    // the text either way, a pick-only box shows the entry or nothing.
    void setText(const std::wstring& text) override;
    bool userPick(int index);                        // runs onChange
    bool userTyped(const std::wstring& text);        // editable only; runs onChange

private:
    std::vector<std::wstring> items_;
    int itemIndex_ = -1;
};

class CheckBox : public Widget {
public:
    CheckBox(WidgetArgs args, Widget* parent);
    bool checked() const { return checked_; }
    void setChecked(bool checked);  // runs onClick when the state changes
    bool userClick() override;      // toggles, then onClick

private:
    bool checked_;
};

class RadioGroup : public Widget {
public:
    RadioGroup(WidgetArgs args, Widget* parent);
    const std::vector<std::wstring>& items() const { return args().items; }
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int index);  // clamped to -1 ... count-1; no handler runs
    bool userPick(int index);      // runs onClick

private:
    int itemIndex_;
};

class Image : public Widget {
public:
    Image(WidgetArgs args, Widget* parent);
    const std::shared_ptr<Picture>& picture() const { return picture_; }
    void setPicture(std::shared_ptr<Picture> picture);
    void pictureChanged();  // the picture's pixels were drawn on, or the fit changed
    // How the picture is fitted: centred, stretched, and stretched keeping proportions.
    bool center() const { return center_; }
    bool stretch() const { return stretch_; }
    bool proportional() const { return proportional_; }
    void setFit(bool center, bool stretch, bool proportional);
    Rect pictureRect() const;  // where the picture shows, in the control's pixels

private:
    std::shared_ptr<Picture> picture_;
    bool center_, stretch_, proportional_;
};

class TabSheet : public Widget {
public:
    TabSheet(WidgetArgs args, Widget* parent) : Widget(std::move(args), parent), tabVisible_(this->args().tabVisible) {}
    bool tabVisible() const { return tabVisible_; }
    // Shows or hides the page's tab in its page control.
    void setTabVisible(bool visible);

private:
    bool tabVisible_;
};

class PageControl : public Widget {
public:
    using Widget::Widget;
    std::vector<TabSheet*> pages() const;
    TabSheet* activePage() const { return active_; }
    void setActivePage(TabSheet* page);
    bool userSelectPage(TabSheet& page);  // only a shown tab of an enabled page

private:
    TabSheet* active_ = nullptr;
};

// The top-level window. Owns every control; lays them out from the design values.
class Form : public Widget {
public:
    static constexpr int kFontHeight = 11;  // Tahoma 8 pt at 96 dpi

    Form(WidgetArgs args, WidgetFactory& factory, int dpi = 96);
    ~Form() override;

    // Creates a control from its arguments (parent by name, created before) and its peer.
    Widget& add(const WidgetArgs& args);
    Widget* find(const std::string& name) const;
    template <class W> W& get(const std::string& name) const;  // throws when missing or of another kind
    const std::vector<std::unique_ptr<Widget>>& controls() const { return controls_; }

    int dpi() const { return dpi_; }
    int scale(int designValue) const;  // design pixels to device pixels at the current dpi
    Rect windowRect() const;           // outer rectangle on the screen, device pixels
    void setWindowRect(const Rect& rect);

    // Asked when the user closes the window; false keeps it open. Unset: it closes.
    std::function<bool()> closeAllowed;
    // Closes the window as the user's closing would (closeAllowed is asked again), once
    // the event now running has ended.
    void close();

    // The program's items of the system menu; replaced whole.
    void setSystemMenu(std::vector<MenuItem> items);
    const std::vector<MenuItem>& systemMenu() const { return systemMenu_; }
    // Run as the user opens the system menu, before it shows: the place to bring its
    // items up to date.
    std::function<void()> systemMenuOpening;
    // The user chose the item at that path (an index per menu level); false when there is
    // no such command.
    bool userChooseMenuItem(const std::vector<std::size_t>& path);
    bool userChooseMenuItem(std::size_t index) { return userChooseMenuItem(std::vector<std::size_t>{index}); }

    // A menu shown under a control for the user to choose from, until chosen or dismissed.
    void popUpMenu(std::vector<MenuItem> items, const Widget& under);
    const std::vector<MenuItem>& poppedUpMenu() const { return popUpMenu_; }
    bool userChoosePopUpItem(const std::vector<std::size_t>& path);

    // From the backend: the client area's new size, or a new dpi (then layout again).
    void clientResized(int width, int height);
    void dpiChanged(int dpi);
    void layout();

private:
    void layoutChildren(Widget& parent, Rect client);
    WidgetFactory& factory_;
    std::vector<std::unique_ptr<Widget>> controls_;
    std::vector<MenuItem> systemMenu_;
    std::vector<MenuItem> popUpMenu_;
    int dpi_;
    int clientWidth_, clientHeight_;
};

// The page area of a page control: what its tab strip and border leave, in design pixels.
struct PageInsets { int left = 4, top = 24, right = 4, bottom = 4; };
inline constexpr PageInsets kPageInsets{};

template <class W>
W& Form::get(const std::string& name) const {
    auto* w = dynamic_cast<W*>(find(name));
    if (!w) throw std::logic_error("no control " + name + " of that kind");
    return *w;
}

}  // namespace ui
