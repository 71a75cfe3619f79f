// The control table of the main window: every control of both pages with its design
// values, the member that keeps it and the handler of its event. Rows name their members
// and handlers by member pointer, so the compiler checks every binding; the designer's
// names ("Button11") stay here only, so that a control can still be found by them.
#include <type_traits>

#include "app/handler_failure.h"
#include "app/main_window.h"

namespace app {

namespace {

using ui::Kind;

template <class W> constexpr Kind kindOf() {
    if constexpr (std::is_same_v<W, ui::Button>) return Kind::Button;
    else if constexpr (std::is_same_v<W, ui::Label>) return Kind::Label;
    else if constexpr (std::is_same_v<W, ui::Edit>) return Kind::Edit;
    else if constexpr (std::is_same_v<W, ui::ComboBox>) return Kind::ComboBox;
    else if constexpr (std::is_same_v<W, ui::CheckBox>) return Kind::CheckBox;
    else if constexpr (std::is_same_v<W, ui::RadioGroup>) return Kind::RadioGroup;
    else if constexpr (std::is_same_v<W, ui::Panel>) return Kind::Panel;
    else if constexpr (std::is_same_v<W, ui::Image>) return Kind::Image;
    else if constexpr (std::is_same_v<W, ui::PageControl>) return Kind::PageControl;
    else {
        static_assert(std::is_same_v<W, ui::TabSheet>, "a control kind the table cannot make");
        return Kind::TabSheet;
    }
}

// The part of the window that keeps a control or runs a handler: a page or the window.
template <class Owner> Owner& ownerIn(MainWindow& window) {
    if constexpr (std::is_same_v<Owner, FramePage>) return window.framePage;
    else if constexpr (std::is_same_v<Owner, GridPage>) return window.gridPage;
    else return window;
}

// Binds an event to an owner's operation. A failure the operation lets out ends up in
// the default error report.
template <class Owner> ui::Handler handlerFor(MainWindow& window, void (Owner::*operation)()) {
    return [&window, operation](ui::Widget&) {
        window.pressBegins();
        runReportingFailure(window.shell(), [&] { (ownerIn<Owner>(window).*operation)(); });
    };
}

// One row, written as the member that keeps the control, its design name, parent, design
// rectangle, caption, then the rest. The kind follows from the member's type.
struct Row {
    ControlRow r;
    // A control no code touches after it is made (the labels).
    Row(Kind kind, const char* name, const char* parent, ui::Rect design, const wchar_t* text) {
        r.args.name = name;
        r.args.kind = kind;
        r.args.parent = parent;
        r.args.design = design;
        r.args.text = text;
    }
    template <class Owner, class W>
    Row(W* Owner::*member, const char* name, const char* parent, ui::Rect design, const wchar_t* text = L"") {
        r.args.name = name;
        r.args.kind = kindOf<W>();
        r.args.parent = parent;
        r.args.design = design;
        r.args.text = text;
        r.keep = [member](MainWindow& window, ui::Widget& made) {
            ownerIn<Owner>(window).*member = &static_cast<W&>(made);
        };
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
    template <class Owner> Row&& onClick(void (Owner::*operation)()) && {
        r.event = Event::Click;
        r.bind = [operation](MainWindow& window, ui::Widget& w) { w.onClick = handlerFor(window, operation); };
        return std::move(*this);
    }
    template <class Owner> Row&& onChange(void (Owner::*operation)()) && {
        r.event = Event::Change;
        r.bind = [operation](MainWindow& window, ui::Widget& w) { w.onChange = handlerFor(window, operation); };
        return std::move(*this);
    }
    template <class Owner> Row&& onMouseDown(void (Owner::*operation)(const ui::MouseEvent&)) && {
        r.event = Event::MouseDown;
        r.bind = [operation](MainWindow& window, ui::Widget& w) {
            w.onMouseDown = [&window, operation](ui::Widget&, const ui::MouseEvent& e) {
                window.pressBegins();
                runReportingFailure(window.shell(), [&] { (ownerIn<Owner>(window).*operation)(e); });
            };
        };
        return std::move(*this);
    }
};

const std::vector<std::wstring> kRotations{L"0", L"90", L"180", L"270"};
const std::vector<std::wstring> kSheetSizes{L"A0", L"A1", L"A2", L"A3", L"A4", L"A5", L"A6", L"A7", L"A8", L"A9",
                                            L"B0", L"B1", L"B2", L"B3", L"B4", L"B5", L"B6", L"B7", L"B8", L"B9"};
constexpr wchar_t kReleaseHint[] = L"右クリック、または [Shift] or [Ctrl]+クリックで解除";
constexpr wchar_t kTargetCadHint[] = L"ターゲットCAD を変更";
constexpr auto Centre = ui::TextAlign::Center;

std::vector<ControlRow> makeTable() {
    std::vector<Row> rows;
    auto add = [&](Row&& row) { rows.push_back(std::move(row)); };

    // The window: scaleLabel lies beneath the page control, which fills the client area.
    add(Row(&MainWindow::scaleLabel, "Label6", "", {8, 8, 24, 13}, L"尺度"));
    add(Row(&MainWindow::pageControl, "PageControl1", "", {0, 0, 478, 418}).dock(ui::Dock::Fill));
    add(Row(&GridPage::sheet, "TabSheet1", "PageControl1", {}, L"等間隔配置").hiddenTab().disabled());
    add(Row(&FramePage::sheet, "TabSheet2", "PageControl1", {}, L"任意枠配置"));

    // Frame page.
    add(Row(&FramePage::toolbar, "Panel2", "TabSheet2", {0, 0, 470, 111}).dock(ui::Dock::Top));
    add(Row(&FramePage::previewPanel, "Panel3", "TabSheet2", {0, 111, 470, 279}).dock(ui::Dock::Fill));
    add(Row(&FramePage::captureButton, "Button11", "Panel2", {4, -2, 59, 25}, L"キャプチャ").onClick(&FramePage::capture));
    add(Row(Kind::Label, "Label1", "Panel2", {69, 3, 36, 13}, L"枠画層"));
    add(Row(&FramePage::layer, "Edit5", "Panel2", {111, 2, 106, 21}, L"MORVEL"));
    add(Row(Kind::Label, "Label10", "Panel2", {225, 3, 57, 13}, L"横置き回転"));
    add(Row(&FramePage::landscapeRotation, "ComboBox10", "Panel2", {288, 2, 53, 21}, L"90").pickOnly().items(kRotations, 1));
    add(Row(Kind::Label, "Label11", "Panel2", {347, 4, 57, 13}, L"縦置き回転"));
    add(Row(&FramePage::portraitRotation, "ComboBox11", "Panel2", {410, 1, 53, 21}, L"90").pickOnly().items(kRotations, 1));
    add(Row(Kind::Label, "Label2", "Panel2", {4, 34, 43, 13}, L"プリンター"));
    add(Row(&FramePage::printer, "ComboBox7", "Panel2", {51, 29, 291, 24}).pickOnly().rows(16).font(13)
            .onChange(&FramePage::printerChanged));
    add(Row(Kind::Label, "Label9", "Panel2", {348, 32, 48, 13}, L"計算尺度"));
    add(Row(&FramePage::printScale, "Edit6", "Panel2", {402, 28, 61, 21}).readOnly().align(ui::TextAlign::Right));
    add(Row(Kind::Label, "Label7", "Panel2", {4, 58, 24, 13}, L"用紙"));
    add(Row(&FramePage::paper, "ComboBox8", "Panel2", {51, 53, 236, 24}).pickOnly().rows(16).font(13)
            .onChange(&GridPage::paperChanged));
    add(Row(Kind::Label, "Label8", "Panel2", {4, 80, 36, 13}, L"スタイル"));
    add(Row(&FramePage::styleTable, "ComboBox9", "Panel2", {51, 77, 236, 24}).pickOnly().rows(16).font(13));
    add(Row(&FramePage::chooseAllButton, "Button14", "Panel2", {288, 51, 56, 25}, L"すべて").hint(kReleaseHint).noTabStop()
            .onMouseDown(&FramePage::chooseOrReleaseAll));
    add(Row(&FramePage::chosenCount, "Edit7", "Panel2", {290, 77, 54, 27}, L"0").align(Centre).font(16));
    add(Row(&FramePage::fromTop, "CheckBox1", "Panel2", {350, 55, 113, 17}, L"左上から印刷する").onClick(&FramePage::reorder));
    add(Row(&FramePage::printButton, "Button16", "Panel2", {346, 75, 69, 31}, L"印刷").font(13).onClick(&FramePage::print));
    add(Row(&FramePage::stopButton, "Button17", "Panel2", {418, 74, 47, 31}, L"中止").disabled().onClick(&MainWindow::stopPlot));
    add(Row(&FramePage::targetCadButton, "Button13", "Panel2", {24, 59, 34, 25}, L"CAD").hint(kTargetCadHint).disabled().invisible()
            .onClick(&MainWindow::chooseTargetCad));
    add(Row(&FramePage::listsButton, "Button18", "Panel2", {24, 80, 40, 25}, L"Printer").invisible().onClick(&FramePage::refreshLists));
    add(Row(&FramePage::preview, "Image2", "Panel3", {0, 0, 470, 279}).dock(ui::Dock::Fill).onMouseDown(&FramePage::previewPressed));
    add(Row(&FramePage::toolbarToggle, "Button12", "Panel3", {442, 1, 25, 25}, L"▲").anchors({false, true, true, false})
            .onClick(&FramePage::toggleToolbar));

    // Equal-interval page.
    add(Row(&GridPage::targetCadButton, "Button3", "TabSheet1", {1, 2, 34, 25}, L"CAD").hint(kTargetCadHint).onClick(&MainWindow::chooseTargetCad));
    add(Row(&GridPage::captureButton, "Button1", "TabSheet1", {36, 2, 57, 25}, L"キャプチャ").hint(L"CAD画面をキャプチャ")
            .onClick(&GridPage::capture));
    add(Row(&GridPage::basePointButton, "Button2", "TabSheet1", {93, 2, 55, 25}, L"左下原点").hint(L"左下図面の左下原点を指示")
            .onClick(&GridPage::pickBasePoint));
    add(Row(&GridPage::basePoint, "Edit1", "TabSheet1", {153, 4, 88, 22}, L"0,0").hint(L"左下図面の左下基点").font(12).imeClosed());
    add(Row(&GridPage::spacingButton, "Button7", "TabSheet1", {243, 1, 42, 25}, L"間隔").hint(L"図面の配置間隔を指示")
            .onClick(&GridPage::pickSpacing));
    add(Row(&GridPage::spacing, "ComboBox1", "TabSheet1", {288, 4, 93, 22}, L"420,300").items({L"420,300"}, 0)
            .hint(L"各画面の配置間隔 X,Y (実寸)").font(12));
    add(Row(&GridPage::sheetSize, "ComboBox5", "TabSheet1", {381, 4, 46, 22}, L"A3").items(kSheetSizes, 3)
            .hint(L"図面サイズ").font(12));
    add(Row(&GridPage::sheetOrientation, "ComboBox6", "TabSheet1", {433, 4, 46, 21}, L"ヨコ").items({L"ヨコ", L"タテ"}, 0));
    add(Row(&GridPage::drawingScaleButton, "Button8", "TabSheet1", {482, 1, 33, 25}, L"尺度").hint(L"図面尺度 DIMSCALE を取得")
            .onClick(&GridPage::pickDrawingScale));
    add(Row(&GridPage::drawingScale, "Edit4", "TabSheet1", {515, 4, 43, 22}, L"1").font(12).imeClosed());
    add(Row(Kind::Label, "Label3", "TabSheet1", {3, 33, 43, 13}, L"プリンター"));
    add(Row(&GridPage::printer, "ComboBox2", "TabSheet1", {50, 27, 296, 24}).pickOnly().rows(16).font(13)
            .onChange(&GridPage::printerChanged));
    add(Row(&GridPage::printScale, "Edit3", "TabSheet1", {384, 28, 53, 24}, L"1.414").hint(L"印刷尺度").font(13));
    add(Row(&GridPage::autoPrintScale, "CheckBox2", "TabSheet1", {442, 31, 66, 17}, L"自動計算").checked());
    add(Row(&GridPage::recomputeButton, "Button6", "TabSheet1", {514, 23, 44, 29}, L"再計算").hint(L"印刷尺度を再計算")
            .onClick(&GridPage::recomputePrintScale));
    add(Row(Kind::Label, "Label4", "TabSheet1", {3, 57, 24, 13}, L"用紙"));
    add(Row(&GridPage::paper, "ComboBox3", "TabSheet1", {50, 52, 236, 24}).pickOnly().rows(16).font(13)
            .onChange(&GridPage::paperChanged));
    add(Row(Kind::Label, "Label5", "TabSheet1", {3, 79, 36, 13}, L"スタイル"));
    add(Row(&GridPage::styleTable, "ComboBox4", "TabSheet1", {50, 74, 236, 24}).pickOnly().rows(16).font(13));
    add(Row(&GridPage::chooseAllButton, "Button10", "TabSheet1", {292, 52, 56, 25}, L"すべて").hint(kReleaseHint).noTabStop()
            .onMouseDown(&GridPage::chooseOrReleaseAll));
    add(Row(&GridPage::chosenCount, "Edit2", "TabSheet1", {292, 75, 57, 27}, L"0").readOnly().align(Centre).font(16).noTabStop()
            .imeClosed());
    add(Row(&GridPage::rotation, "RadioGroup1", "TabSheet1", {349, 51, 82, 51}, L"回転").items(kRotations, 1).columns(2));
    add(Row(&GridPage::fromTop, "CheckBox3", "TabSheet1", {443, 52, 114, 17}, L"左上から印刷する").font(12));
    add(Row(&GridPage::printButton, "Button4", "TabSheet1", {437, 71, 71, 31}, L"印刷").font(13).onClick(&GridPage::print));
    add(Row(&GridPage::stopButton, "Button9", "TabSheet1", {510, 71, 47, 31}, L"中止").disabled().onClick(&MainWindow::stopPlot));
    add(Row(&GridPage::listsButton, "Button5", "TabSheet1", {4, 98, 40, 25}, L"Printer").invisible().onClick(&GridPage::refreshLists));
    add(Row(&GridPage::previewPanel, "Panel1", "TabSheet1", {0, 108, 470, 282}).dock(ui::Dock::Bottom)
            .anchors({true, true, true, true}));
    add(Row(&GridPage::preview, "Image1", "Panel1", {0, 0, 470, 282}).dock(ui::Dock::Fill).fit(true, true, false)
            .onMouseDown(&GridPage::previewPressed));

    std::vector<ControlRow> out;
    for (Row& row : rows) out.push_back(std::move(row.r));
    return out;
}

}  // namespace

const std::vector<ControlRow>& mainWindowControls() {
    static const std::vector<ControlRow> table = makeTable();
    return table;
}

void MainWindow::buildControls() {
    for (const ControlRow& row : mainWindowControls()) {
        ui::Widget& w = form_->add(row.args);
        if (row.keep) row.keep(*this, w);
        if (row.bind) row.bind(*this, w);
        // The window opens on the frame page: chosen as soon as it is there, so that the
        // controls of the page that stays hidden need not be made before it shows.
        if (&w == framePage.sheet) pageControl->setActivePage(framePage.sheet);
    }
    framePage.lists.attach(*framePage.printer, *framePage.paper, *framePage.styleTable);
    gridPage.lists.attach(*gridPage.printer, *gridPage.paper, *gridPage.styleTable);
    pageControl->setActivePage(framePage.sheet);
}

}  // namespace app
