// The control table of the main window: every control of both pages with its design
// values and its handler, and the binding of names to TForm60's members.
#include <map>
#include <stdexcept>

#include "app/form60.h"
#include "app/handler_failure.h"

namespace app {

namespace {

using ui::Kind;

// One row, written as name, kind, parent, design rectangle, caption, then the rest.
struct Row {
    ControlRow r;
    Row(const char* name, Kind kind, const char* parent, ui::Rect design, const wchar_t* text = L"") {
        r.args.name = name;
        r.args.kind = kind;
        r.args.parent = parent;
        r.args.design = design;
        r.args.text = text;
    }
    Row&& pickOnly() && { r.args.comboStyle = ui::ComboStyle::PickOnly; return std::move(*this); }
    Row&& items(std::vector<std::wstring> v, int index) && {
        r.args.items = std::move(v);
        r.args.itemIndex = index;
        return std::move(*this);
    }
    Row&& rows(int n) && { r.args.dropDownRows = n; return std::move(*this); }
    Row&& font(int px) && { r.args.fontHeight = px; return std::move(*this); }
    Row&& hint(const wchar_t* h) && { r.args.hint = h; return std::move(*this); }
    Row&& disabled() && { r.args.enabled = false; return std::move(*this); }
    Row&& invisible() && { r.args.visible = false; return std::move(*this); }
    Row&& noTabStop() && { r.args.tabStop = false; return std::move(*this); }
    Row&& readOnly() && { r.args.readOnly = true; return std::move(*this); }
    Row&& align(ui::TextAlign a) && { r.args.alignment = a; return std::move(*this); }
    Row&& imeClosed() && { r.args.imeClosed = true; return std::move(*this); }
    Row&& checked() && { r.args.checked = true; return std::move(*this); }
    Row&& columns(int n) && { r.args.columns = n; return std::move(*this); }
    Row&& dock(ui::Dock d) && { r.args.dock = d; return std::move(*this); }
    Row&& anchors(ui::Anchors a) && { r.args.anchors = a; return std::move(*this); }
    Row&& fit(bool center, bool stretch, bool proportional) && {
        r.args.center = center;
        r.args.stretch = stretch;
        r.args.proportional = proportional;
        return std::move(*this);
    }
    Row&& hiddenTab() && { r.args.tabVisible = false; return std::move(*this); }
    Row&& on(Event e, const char* handler) && {
        r.event = e;
        r.handler = handler;
        return std::move(*this);
    }
};

const std::vector<std::wstring> kRotations{L"0", L"90", L"180", L"270"};
const std::vector<std::wstring> kSheetSizes{L"A0", L"A1", L"A2", L"A3", L"A4", L"A5", L"A6", L"A7", L"A8", L"A9",
                                            L"B0", L"B1", L"B2", L"B3", L"B4", L"B5", L"B6", L"B7", L"B8", L"B9"};
constexpr wchar_t kReleaseHint[] = L"右クリック、または [Shift] or [Ctrl]+クリックで解除";
constexpr wchar_t kTargetCadHint[] = L"ターゲットCAD を変更";
constexpr auto Click = Event::Click;
constexpr auto Change = Event::Change;
constexpr auto MouseDown = Event::MouseDown;
constexpr auto Centre = ui::TextAlign::Center;

std::vector<ControlRow> makeTable() {
    std::vector<Row> rows;
    auto add = [&](Row&& row) { rows.push_back(std::move(row)); };

    // The window: Label6 lies beneath the page control, which fills the client area.
    add(Row("Label6", Kind::Label, "", {8, 8, 24, 13}, L"尺度"));
    add(Row("PageControl1", Kind::PageControl, "", {0, 0, 478, 418}).dock(ui::Dock::Fill));
    add(Row("TabSheet1", Kind::TabSheet, "PageControl1", {}, L"等間隔配置").hiddenTab().disabled());
    add(Row("TabSheet2", Kind::TabSheet, "PageControl1", {}, L"任意枠配置"));

    // Frame page.
    add(Row("Panel2", Kind::Panel, "TabSheet2", {0, 0, 470, 111}).dock(ui::Dock::Top));
    add(Row("Panel3", Kind::Panel, "TabSheet2", {0, 111, 470, 279}).dock(ui::Dock::Fill));
    add(Row("Button11", Kind::Button, "Panel2", {4, -2, 59, 25}, L"キャプチャ").on(Click, "Button11Click"));
    add(Row("Label1", Kind::Label, "Panel2", {69, 3, 36, 13}, L"枠画層"));
    add(Row("Edit5", Kind::Edit, "Panel2", {111, 2, 106, 21}, L"MORVEL"));
    add(Row("Label10", Kind::Label, "Panel2", {225, 3, 57, 13}, L"横置き回転"));
    add(Row("ComboBox10", Kind::ComboBox, "Panel2", {288, 2, 53, 21}, L"90").pickOnly().items(kRotations, 1));
    add(Row("Label11", Kind::Label, "Panel2", {347, 4, 57, 13}, L"縦置き回転"));
    add(Row("ComboBox11", Kind::ComboBox, "Panel2", {410, 1, 53, 21}, L"90").pickOnly().items(kRotations, 1));
    add(Row("Label2", Kind::Label, "Panel2", {4, 34, 43, 13}, L"プリンター"));
    add(Row("ComboBox7", Kind::ComboBox, "Panel2", {51, 29, 291, 24}).pickOnly().rows(16).font(13)
            .on(Change, "ComboBox7Change"));
    add(Row("Label9", Kind::Label, "Panel2", {348, 32, 48, 13}, L"計算尺度"));
    add(Row("Edit6", Kind::Edit, "Panel2", {402, 28, 61, 21}).readOnly().align(ui::TextAlign::Right));
    add(Row("Label7", Kind::Label, "Panel2", {4, 58, 24, 13}, L"用紙"));
    add(Row("ComboBox8", Kind::ComboBox, "Panel2", {51, 53, 236, 24}).pickOnly().rows(16).font(13)
            .on(Change, "ComboBox3Change"));
    add(Row("Label8", Kind::Label, "Panel2", {4, 80, 36, 13}, L"スタイル"));
    add(Row("ComboBox9", Kind::ComboBox, "Panel2", {51, 77, 236, 24}).pickOnly().rows(16).font(13));
    add(Row("Button14", Kind::Button, "Panel2", {288, 51, 56, 25}, L"すべて").hint(kReleaseHint).noTabStop()
            .on(MouseDown, "Button14MouseDown"));
    add(Row("Edit7", Kind::Edit, "Panel2", {290, 77, 54, 27}, L"0").align(Centre).font(16));
    add(Row("CheckBox1", Kind::CheckBox, "Panel2", {350, 55, 113, 17}, L"左上から印刷する").on(Click, "CheckBox1Click"));
    add(Row("Button16", Kind::Button, "Panel2", {346, 75, 69, 31}, L"印刷").font(13).on(Click, "Button16Click"));
    add(Row("Button17", Kind::Button, "Panel2", {418, 74, 47, 31}, L"中止").disabled().on(Click, "Button9Click"));
    add(Row("Button13", Kind::Button, "Panel2", {24, 59, 34, 25}, L"CAD").hint(kTargetCadHint).disabled().invisible()
            .on(Click, "Button3Click"));
    add(Row("Button18", Kind::Button, "Panel2", {24, 80, 40, 25}, L"Printer").invisible().on(Click, "Button18Click"));
    add(Row("Image2", Kind::Image, "Panel3", {0, 0, 470, 279}).dock(ui::Dock::Fill).on(MouseDown, "Image2MouseDown"));
    add(Row("Button12", Kind::Button, "Panel3", {442, 1, 25, 25}, L"▲").anchors({false, true, true, false})
            .on(Click, "Button12Click"));

    // Equal-interval page.
    add(Row("Button3", Kind::Button, "TabSheet1", {1, 2, 34, 25}, L"CAD").hint(kTargetCadHint).on(Click, "Button3Click"));
    add(Row("Button1", Kind::Button, "TabSheet1", {36, 2, 57, 25}, L"キャプチャ").hint(L"CAD画面をキャプチャ")
            .on(Click, "Button1Click"));
    add(Row("Button2", Kind::Button, "TabSheet1", {93, 2, 55, 25}, L"左下原点").hint(L"左下図面の左下原点を指示")
            .on(Click, "Button2Click"));
    add(Row("Edit1", Kind::Edit, "TabSheet1", {153, 4, 88, 22}, L"0,0").hint(L"左下図面の左下基点").font(12).imeClosed());
    add(Row("Button7", Kind::Button, "TabSheet1", {243, 1, 42, 25}, L"間隔").hint(L"図面の配置間隔を指示")
            .on(Click, "Button7Click"));
    add(Row("ComboBox1", Kind::ComboBox, "TabSheet1", {288, 4, 93, 22}, L"420,300").items({L"420,300"}, 0)
            .hint(L"各画面の配置間隔 X,Y (実寸)").font(12));
    add(Row("ComboBox5", Kind::ComboBox, "TabSheet1", {381, 4, 46, 22}, L"A3").items(kSheetSizes, 3)
            .hint(L"図面サイズ").font(12));
    add(Row("ComboBox6", Kind::ComboBox, "TabSheet1", {433, 4, 46, 21}, L"ヨコ").items({L"ヨコ", L"タテ"}, 0));
    add(Row("Button8", Kind::Button, "TabSheet1", {482, 1, 33, 25}, L"尺度").hint(L"図面尺度 DIMSCALE を取得")
            .on(Click, "Button8Click"));
    add(Row("Edit4", Kind::Edit, "TabSheet1", {515, 4, 43, 22}, L"1").font(12).imeClosed());
    add(Row("Label3", Kind::Label, "TabSheet1", {3, 33, 43, 13}, L"プリンター"));
    add(Row("ComboBox2", Kind::ComboBox, "TabSheet1", {50, 27, 296, 24}).pickOnly().rows(16).font(13)
            .on(Change, "ComboBox2Change"));
    add(Row("Edit3", Kind::Edit, "TabSheet1", {384, 28, 53, 24}, L"1.414").hint(L"印刷尺度").font(13));
    add(Row("CheckBox2", Kind::CheckBox, "TabSheet1", {442, 31, 66, 17}, L"自動計算").checked());
    add(Row("Button6", Kind::Button, "TabSheet1", {514, 23, 44, 29}, L"再計算").hint(L"印刷尺度を再計算")
            .on(Click, "Button6Click"));
    add(Row("Label4", Kind::Label, "TabSheet1", {3, 57, 24, 13}, L"用紙"));
    add(Row("ComboBox3", Kind::ComboBox, "TabSheet1", {50, 52, 236, 24}).pickOnly().rows(16).font(13)
            .on(Change, "ComboBox3Change"));
    add(Row("Label5", Kind::Label, "TabSheet1", {3, 79, 36, 13}, L"スタイル"));
    add(Row("ComboBox4", Kind::ComboBox, "TabSheet1", {50, 74, 236, 24}).pickOnly().rows(16).font(13));
    add(Row("Button10", Kind::Button, "TabSheet1", {292, 52, 56, 25}, L"すべて").hint(kReleaseHint).noTabStop()
            .on(MouseDown, "Button10MouseDown"));
    add(Row("Edit2", Kind::Edit, "TabSheet1", {292, 75, 57, 27}, L"0").readOnly().align(Centre).font(16).noTabStop()
            .imeClosed());
    add(Row("RadioGroup1", Kind::RadioGroup, "TabSheet1", {349, 51, 82, 51}, L"回転").items(kRotations, 1).columns(2));
    add(Row("CheckBox3", Kind::CheckBox, "TabSheet1", {443, 52, 114, 17}, L"左上から印刷する").font(12));
    add(Row("Button4", Kind::Button, "TabSheet1", {437, 71, 71, 31}, L"印刷").font(13).on(Click, "Button4Click"));
    add(Row("Button9", Kind::Button, "TabSheet1", {510, 71, 47, 31}, L"中止").disabled().on(Click, "Button9Click"));
    add(Row("Button5", Kind::Button, "TabSheet1", {4, 98, 40, 25}, L"Printer").invisible().on(Click, "Button5Click"));
    add(Row("Panel1", Kind::Panel, "TabSheet1", {0, 108, 470, 282}).dock(ui::Dock::Bottom)
            .anchors({true, true, true, true}));
    add(Row("Image1", Kind::Image, "Panel1", {0, 0, 470, 282}).dock(ui::Dock::Fill).fit(true, true, false)
            .on(MouseDown, "Image1MouseDown"));

    std::vector<ControlRow> out;
    for (Row& row : rows) out.push_back(std::move(row.r));
    return out;
}

using ClickMember = void (TForm60::*)(ui::Widget&);
using MouseMember = void (TForm60::*)(ui::Widget&, const ui::MouseEvent&);

const std::map<std::string, ClickMember> kClickHandlers{
    {"Button1Click", &TForm60::Button1Click},     {"Button2Click", &TForm60::Button2Click},
    {"Button3Click", &TForm60::Button3Click},     {"Button4Click", &TForm60::Button4Click},
    {"Button5Click", &TForm60::Button5Click},     {"Button6Click", &TForm60::Button6Click},
    {"Button7Click", &TForm60::Button7Click},     {"Button8Click", &TForm60::Button8Click},
    {"Button9Click", &TForm60::Button9Click},     {"Button11Click", &TForm60::Button11Click},
    {"Button12Click", &TForm60::Button12Click},   {"Button16Click", &TForm60::Button16Click},
    {"Button18Click", &TForm60::Button18Click},   {"CheckBox1Click", &TForm60::CheckBox1Click},
    {"ComboBox2Change", &TForm60::ComboBox2Change}, {"ComboBox3Change", &TForm60::ComboBox3Change},
    {"ComboBox7Change", &TForm60::ComboBox7Change},
};

const std::map<std::string, MouseMember> kMouseHandlers{
    {"Button10MouseDown", &TForm60::Button10MouseDown},
    {"Button14MouseDown", &TForm60::Button14MouseDown},
    {"Image1MouseDown", &TForm60::Image1MouseDown},
    {"Image2MouseDown", &TForm60::Image2MouseDown},
};

template <class Map>
typename Map::mapped_type lookup(const Map& map, const std::string& name) {
    const auto it = map.find(name);
    if (it == map.end()) throw std::logic_error("no handler " + name + " for this event");
    return it->second;
}

}  // namespace

const std::vector<ControlRow>& form60Controls() {
    static const std::vector<ControlRow> table = makeTable();
    return table;
}

void TForm60::buildControls() {
    for (const ControlRow& row : form60Controls()) {
        ui::Widget& w = form_->add(row.args);
        bindHandler(w, row.event, row.handler);
    }
    PageControl1 = &form_->get<ui::PageControl>("PageControl1");
    TabSheet1 = &form_->get<ui::TabSheet>("TabSheet1");
    TabSheet2 = &form_->get<ui::TabSheet>("TabSheet2");
    PageControl1->setActivePage(TabSheet2);
    bindControls();
}

void TForm60::bindHandler(ui::Widget& w, Event event, const std::string& handler) {
    switch (event) {
        case Event::None: return;
        // A failure a handler lets out ends up in the default error report.
        case Event::Click:
            w.onClick = [this, m = lookup(kClickHandlers, handler)](ui::Widget& s) {
                runReportingFailure(shell_, [&] { (this->*m)(s); });
            };
            return;
        case Event::Change:
            w.onChange = [this, m = lookup(kClickHandlers, handler)](ui::Widget& s) {
                runReportingFailure(shell_, [&] { (this->*m)(s); });
            };
            return;
        case Event::MouseDown:
            w.onMouseDown = [this, m = lookup(kMouseHandlers, handler)](ui::Widget& s, const ui::MouseEvent& e) {
                runReportingFailure(shell_, [&] { (this->*m)(s, e); });
            };
            return;
    }
}

}  // namespace app
