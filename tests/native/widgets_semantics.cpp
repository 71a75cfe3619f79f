// The toolkit rules of the widget seam, checked through the in-memory backend: what the
// program sees and what reaches the real control must agree.
#include <gtest/gtest.h>

#include "support/memory_widgets.h"
#include "tests/shared/widget_cases.h"
#include "ui/widgets.h"

namespace ui {
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
}  // namespace ui

namespace {

using namespace ui;

WidgetArgs formArgs() {
    WidgetArgs a;
    a.name = "Form";
    a.kind = Kind::Form;
    a.design = {0, 0, 200, 100};
    return a;
}

WidgetArgs args(std::string name, Kind kind, std::string parent = {}, Rect design = {0, 0, 50, 20}) {
    WidgetArgs a;
    a.name = std::move(name);
    a.kind = kind;
    a.parent = std::move(parent);
    a.design = design;
    return a;
}

struct WidgetRules : ::testing::Test {
    MemoryWidgetFactory factory;
    Form form{formArgs(), factory};
    int changes = 0, clicks = 0;

    ComboBox& combo(ComboStyle style, int index = -1) {
        WidgetArgs a = args("Combo", Kind::ComboBox);
        a.comboStyle = style;
        a.items = {L"0", L"90", L"180", L"270"};
        a.itemIndex = index;
        a.text = L"typed";
        auto& c = static_cast<ComboBox&>(form.add(a));
        c.onChange = [this](Widget&) { ++changes; };
        return c;
    }
};

using widget_cases::ComboCase;

class WidgetComboRules : public WidgetRules, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(WidgetComboRules, CodeSetsSelectionAndTextWithoutChangeHandler) {
    const ComboCase& c = GetParam();
    ComboBox& box = combo(c.style, 1);
    if (c.byText) box.setText(c.text);
    else box.setItemIndex(c.index);
    EXPECT_EQ(box.itemIndex(), c.wantIndex);
    EXPECT_EQ(box.text(), c.wantText);
    const MemoryPeer* peer = factory.peer("Combo");
    EXPECT_EQ(peer->itemIndex, c.wantIndex);
    EXPECT_EQ(peer->text, c.wantText);
    EXPECT_EQ(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WidgetComboRules,
    widget_cases::comboCases(), widget_cases::comboCaseName);

TEST_F(WidgetRules, PickOnlyComboShowsItsEntryNotTheDesignedText) {
    EXPECT_EQ(combo(ComboStyle::PickOnly, 1).text(), L"90");
}

TEST_F(WidgetRules, PickOnlyComboWithoutSelectionHasEmptyText) {
    EXPECT_EQ(combo(ComboStyle::PickOnly, -1).text(), L"");
}

TEST_F(WidgetRules, UserPickRunsChangeHandlerOnceAndRefillingDoesNot) {
    ComboBox& box = combo(ComboStyle::PickOnly, -1);
    EXPECT_TRUE(box.userPick(3));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.text(), L"270");
    box.setItems({L"A4", L"A3"});
    box.addItem(L"A2");
    box.setItemIndex(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.itemIndex(), 1);
    EXPECT_EQ(box.text(), L"A3");
    EXPECT_FALSE(box.userPick(3)) << "no such entry";
    EXPECT_EQ(changes, 1);
}

TEST_F(WidgetRules, RefillingClearsSelectionAndText) {
    ComboBox& box = combo(ComboStyle::PickOnly, 2);
    box.setItems({L"x"});
    EXPECT_EQ(box.itemIndex(), -1);
    EXPECT_EQ(box.text(), L"");
    EXPECT_EQ(factory.peer("Combo")->items, std::vector<std::wstring>{L"x"});
    box.addItem(L"y");
    box.setItemIndex(1);
    box.addItem(L"z");
    EXPECT_EQ(box.text(), L"y") << "adding keeps the selection";
}

TEST_F(WidgetRules, TypingIsOnlyForEditableBoxes) {
    EXPECT_FALSE(combo(ComboStyle::PickOnly, 1).userTyped(L"45"));
    EXPECT_EQ(changes, 0);
}

TEST_F(WidgetRules, CheckBoxRunsClickHandlerOnlyWhenStateChanges) {
    auto& box = static_cast<CheckBox&>(form.add(args("Check", Kind::CheckBox)));
    box.onClick = [this](Widget&) { ++clicks; };
    box.setChecked(false);
    EXPECT_EQ(clicks, 0);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(factory.peer("Check")->checked);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box.userClick());
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(WidgetRules, RadioGroupClampsItsIndex) {
    WidgetArgs a = args("Radio", Kind::RadioGroup);
    a.items = {L"0", L"90", L"180", L"270"};
    a.itemIndex = 1;
    auto& radio = static_cast<RadioGroup&>(form.add(a));
    radio.onClick = [this](Widget&) { ++clicks; };
    for (auto [set, want] : {std::pair{7, 3}, {-4, -1}, {2, 2}, {4, 3}, {-1, -1}, {0, 0}}) {
        radio.setItemIndex(set);
        EXPECT_EQ(radio.itemIndex(), want) << set;
        EXPECT_EQ(factory.peer("Radio")->itemIndex, want) << set;
    }
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(radio.userPick(2));
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetRules, UserActionsNeedAShownEnabledControl) {
    form.add(args("Panel", Kind::Panel));
    auto& inside = form.add(args("Inside", Kind::Button, "Panel"));
    WidgetArgs off = args("Off", Kind::Button);
    off.enabled = false;
    auto& disabled = form.add(off);
    inside.onClick = disabled.onClick = [this](Widget&) { ++clicks; };
    inside.onMouseDown = [this](Widget&, const MouseEvent&) { ++clicks; };

    EXPECT_FALSE(disabled.userClick());
    form.find("Panel")->setVisible(false);
    EXPECT_FALSE(inside.userClick());
    EXPECT_FALSE(inside.userMouseDown({}));
    form.find("Panel")->setEnabled(false);
    form.find("Panel")->setVisible(true);
    EXPECT_FALSE(inside.userClick()) << "a disabled parent";
    EXPECT_EQ(clicks, 0);
    form.find("Panel")->setEnabled(true);
    EXPECT_TRUE(inside.userClick());
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetRules, MouseDownPassesButtonKeysAndPosition) {
    auto& image = form.add(args("Img", Kind::Image));
    MouseEvent got;
    image.onMouseDown = [&](Widget& sender, const MouseEvent& e) {
        EXPECT_EQ(&sender, &image);
        got = e;
    };
    EXPECT_TRUE(image.userMouseDown({MouseButton::Right, true, false, false, 12, 34}));
    EXPECT_EQ(got.button, MouseButton::Right);
    EXPECT_TRUE(got.shift);
    EXPECT_FALSE(got.ctrl);
    EXPECT_EQ(got.x, 12);
    EXPECT_EQ(got.y, 34);
}

TEST_F(WidgetRules, ReadOnlyEditRefusesTyping) {
    WidgetArgs a = args("Ro", Kind::Edit);
    a.readOnly = true;
    a.text = L"1.0000";
    auto& edit = static_cast<Edit&>(form.add(a));
    EXPECT_FALSE(edit.userTyped(L"x"));
    EXPECT_EQ(edit.text(), L"1.0000");
    edit.setText(L"2.0000");
    EXPECT_EQ(factory.peer("Ro")->text, L"2.0000");
}

TEST_F(WidgetRules, HiddenTabAndDisabledPageCannotBeChosen) {
    form.add(args("Pages", Kind::PageControl, {}, {0, 0, 200, 100}));
    WidgetArgs hidden = args("Hidden", Kind::TabSheet, "Pages");
    hidden.tabVisible = false;
    form.add(hidden);
    form.add(args("Shown", Kind::TabSheet, "Pages"));
    form.add(args("OnHidden", Kind::Button, "Hidden"));
    auto& pages = form.get<PageControl>("Pages");
    pages.setActivePage(&form.get<TabSheet>("Shown"));
    EXPECT_FALSE(form.find("OnHidden")->showing());
    EXPECT_FALSE(pages.userSelectPage(form.get<TabSheet>("Hidden")));
    EXPECT_EQ(pages.activePage()->name(), "Shown");
    EXPECT_EQ(factory.peer("Pages")->activePage, pages.activePage());
}

TEST(WidgetLayout, DockedPanelsAnchorsAndScaling) {
    MemoryWidgetFactory factory;
    Form form{formArgs(), factory, 144};
    WidgetArgs top = args("Top", Kind::Panel, {}, {0, 0, 0, 30});
    top.dock = Dock::Top;
    WidgetArgs fill = args("Fill", Kind::Panel);
    fill.dock = Dock::Fill;
    WidgetArgs corner = args("Corner", Kind::Button, "Fill", {170, 1, 25, 25});
    corner.anchors = {false, true, true, false};
    form.add(top);
    form.add(fill);
    form.add(corner);

    EXPECT_EQ(form.find("Top")->bounds(), (Rect{0, 0, 300, 45}));
    EXPECT_EQ(form.find("Fill")->bounds(), (Rect{0, 45, 300, 105}));
    EXPECT_EQ(form.find("Corner")->bounds(), (Rect{254, 2, 38, 38}));  // 5 design px from the right

    form.find("Top")->setVisible(false);
    EXPECT_EQ(form.find("Fill")->bounds(), (Rect{0, 0, 300, 150}));
    form.clientResized(400, 200);
    EXPECT_EQ(form.find("Fill")->bounds(), (Rect{0, 0, 400, 200}));
    EXPECT_EQ(form.find("Corner")->bounds().right(), 400 - 8);
    EXPECT_EQ(factory.peer("Corner")->bounds, form.find("Corner")->bounds());
}

TEST(WidgetLayout, FitCentredKeepsProportions) {
    struct { int pw, ph, bw, bh; Rect want; } cases[] = {
        {100, 50, 200, 200, {0, 50, 200, 100}},   // wide picture enlarged to the width
        {50, 100, 200, 100, {75, 0, 50, 100}},    // tall picture fitted to the height
        {400, 100, 200, 100, {0, 25, 200, 50}},   // reduced
        {300, 200, 100, 100, {0, 16, 100, 67}},   // 66.7 rounds to 67, centred by div
        {3, 7, 100, 100, {28, 0, 43, 100}},       // e = 100/7: 42.9 wide, not 42
        {7, 3, 100, 100, {0, 28, 100, 43}},
        {0, 10, 100, 100, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitCentred(c.pw, c.ph, c.bw, c.bh), c.want) << c.pw << "x" << c.ph << " in " << c.bw << "x" << c.bh;
}

TEST(WidgetForm, AddingToAMissingParentOrTwiceIsRefused) {
    MemoryWidgetFactory factory;
    Form form{formArgs(), factory};
    EXPECT_THROW(form.add(args("Orphan", Kind::Button, "Nowhere")), std::logic_error);
    form.add(args("Once", Kind::Button));
    EXPECT_THROW(form.add(args("Once", Kind::Label)), std::logic_error);
    EXPECT_THROW(form.get<CheckBox>("Once"), std::logic_error);
}

}  // namespace
