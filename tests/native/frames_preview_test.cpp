// The frame preview and the choosing of frames, through the main window with in-memory
// widgets, the scripted desktop and the stand-in host in process. The preview state is set
// directly: a clean copy whose every pixel tells its place, the preview as its copy,
// frames in the list, view centre and scale.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cad/late_bound.h"
#include "form_rig.h"
#include "sheets/preview_mapping.h"
#include "sim_test_support.h"

namespace {

using frames::FrameRect;
using testing_support::FormRig;
using ui::MouseButton;

constexpr std::uint32_t kCyan = desktop::kOutlineColour, kRed = desktop::kSelectionColour;

// A clean copy's pixel: its place, never an outline or selection colour.
std::uint32_t cleanPixel(int x, int y) { return static_cast<std::uint32_t>((x << 8) | y); }

FrameRect frame(double minx, double miny, double maxx, double maxy, bool chosen = false) {
    FrameRect f;
    f.minx = minx, f.miny = miny, f.maxx = maxx, f.maxy = maxy, f.chosen = chosen;
    return f;
}

std::vector<bool> flags(const frames::FrameList& list) {
    std::vector<bool> out;
    for (const auto& f : list) out.push_back(f.chosen);
    return out;
}

ui::MouseEvent press(int x, int y, MouseButton button = MouseButton::Left, bool shift = false, bool ctrl = false) {
    ui::MouseEvent e;
    e.button = button, e.shift = shift, e.ctrl = ctrl, e.x = x, e.y = y;
    return e;
}

// Three frames side by side, each with lines of its own inside, on a drawing whose
// preview is 200 x 100 pixels at 1 unit per pixel, centred on (100, 50): drawing (x, y)
// lies on pixel (x, 100 - y), and framePreview has the preview's size.
struct FramePreview : ::testing::Test {
    static inline const frames::FrameList kThree{frame(10, 10, 60, 60), frame(80, 10, 130, 60), frame(150, 10, 190, 60)};

    static sim::Drawing drawing() {
        using simtest::rectangle;
        auto line = [](sim::Vec2 a, sim::Vec2 b) { return simtest::polyline(L"0", {a, b}, false); };
        return simtest::drawingOf({rectangle(L"waku", 10, 10, 60, 60), line({20, 20}, {50, 50}),
                                   rectangle(L"waku", 80, 10, 130, 60), line({90, 20}, {120, 30}),
                                   rectangle(L"waku", 150, 10, 190, 60), line({160, 20}, {180, 50}),
                                   line({155, 40}, {185, 40})});
    }

    explicit FramePreview(sim::Options options = {}) : rig(drawing(), std::move(options)) {}

    // The preview and its clean copy, width x height, and the view that maps onto them.
    void setPreview(frames::FrameList list, int width = 200, int height = 100, double cx = 100, double cy = 50,
                    double s = 1) {
        auto clean = std::make_shared<ui::PixelBitmap>(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) clean->at(x, y) = cleanPixel(x, y);
        f().framePage.session.photo = clean;
        preview = std::make_shared<ui::PixelBitmap>(*clean);
        f().framePage.preview->setPicture(preview);
        f().framePage.preview->setBounds({0, 0, width, height});
        f().framePage.session.frames = std::move(list);
        f().framePage.session.view.cx = cx, f().framePage.session.view.cy = cy, f().framePage.session.view.scale = s;
        f().monitorScaleFactor = 100;
    }
    void setPaper(const std::wstring& name) {
        f().framePage.paper->setItems({name});
        f().framePage.paper->setItemIndex(0);
    }
    void click(int x, int y, MouseButton button = MouseButton::Left, bool shift = false, bool ctrl = false) {
        ASSERT_TRUE(f().framePage.preview->userMouseDown(press(x, y, button, shift, ctrl)));
    }
    void clickFrame(std::size_t i, MouseButton button = MouseButton::Left) {
        const FrameRect& w = f().framePage.session.frames[i];
        click(static_cast<int>((w.minx + w.maxx) / 2), 100 - static_cast<int>((w.miny + w.maxy) / 2), button);
    }
    void pressAll(MouseButton button, bool shift = false, bool ctrl = false) {
        ASSERT_TRUE(f().framePage.chooseAllButton->userMouseDown(press(5, 5, button, shift, ctrl)));
    }
    // The texts drawn on the preview since the last clear, as "text@x,y".
    std::vector<std::string> numbers() const {
        std::vector<std::string> out;
        for (const auto& t : rig.shell.textsOn(preview.get()))
            out.push_back(simtest::utf8(t.text) + "@" + std::to_string(t.x) + "," + std::to_string(t.y));
        return out;
    }
    // The columns of row y between x0 and x1 (exclusive) holding this colour.
    std::set<int> columnsOf(std::uint32_t colour, int y, int x0, int x1) const {
        std::set<int> out;
        for (int x = x0; x < x1; ++x)
            if (preview->at(x, y) == colour) out.insert(x);
        return out;
    }
    bool interiorClean(const FrameRect& w) const {
        for (int y = 100 - static_cast<int>(w.maxy) + 1; y < 100 - static_cast<int>(w.miny); ++y)
            for (int x = static_cast<int>(w.minx) + 1; x < static_cast<int>(w.maxx); ++x)
                if (preview->at(x, y) != cleanPixel(x, y)) return false;
        return true;
    }
    cad::CadSelectionSet* tempSet() {
        app_ = cad::wrapApplication(rig.host->application());
        doc_ = app_->currentDocument();
        sets_ = doc_->selectionSetCollection();
        for (int i = 0; i < sets_->setCount(); ++i) {
            set_ = sets_->setAt(i);
            if (set_->setName() == L"ssTemp") return set_.get();
        }
        return nullptr;
    }

    app::MainWindow& f() { return rig.f(); }

    FormRig rig;
    std::shared_ptr<ui::PixelBitmap> preview;
    std::unique_ptr<cad::CadApplication> app_;
    std::unique_ptr<cad::CadDocument> doc_;
    std::unique_ptr<cad::CadSelectionSets> sets_;
    std::unique_ptr<cad::CadSelectionSet> set_;
};

TEST_F(FramePreview, OutlinesEveryFrameOnThePreviewOnly) {
    setPreview(kThree);
    f().framePage.outlineFrames();
    for (const FrameRect& w : kThree) {
        const int l = static_cast<int>(w.minx), r = static_cast<int>(w.maxx);
        const int t = 100 - static_cast<int>(w.maxy), b = 100 - static_cast<int>(w.miny);
        const int mx = (l + r) / 2, my = (t + b) / 2;
        for (auto [x, y] : {std::pair{l, t}, {r, t}, {l, b}, {r, b}, {mx, t}, {mx, b}, {l, my}, {r, my}})
            EXPECT_EQ(preview->at(x, y), kCyan) << x << "," << y;
        EXPECT_TRUE(interiorClean(frame(w.minx + 1, w.miny + 1, w.maxx - 1, w.maxy - 1)));
    }
    const auto& clean = static_cast<const ui::PixelBitmap&>(*f().framePage.session.photo);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(clean.at(x, y), cleanPixel(x, y)) << x << "," << y;
}

TEST_F(FramePreview, ClicksOnAnEdgeOrOutsideEveryFrameHitNothing) {
    setPreview(kThree);
    setPaper(L"A3");
    f().framePage.printScale->setText(L"6 before");
    f().framePage.chosenCount->setText(L"7 before");
    const struct { int x, y; const char* where; } misses[] = {
        {10, 65, "left edge"},   {60, 65, "right edge"}, {35, 40, "top edge"}, {35, 90, "bottom edge"},
        {70, 65, "between"},     {35, 20, "above"},      {199, 99, "corner of the preview"},
    };
    for (const auto& m : misses) {
        click(m.x, m.y);
        EXPECT_EQ(rig.cad.created, 0) << m.where;
        EXPECT_EQ(f().framePage.printScale->text(), L"6 before") << m.where;
        EXPECT_EQ(f().framePage.chosenCount->text(), L"7 before") << m.where;
        EXPECT_EQ(flags(f().framePage.session.frames), (std::vector<bool>{false, false, false})) << m.where;
    }
    EXPECT_TRUE(rig.shell.log.empty());
}

TEST_F(FramePreview, ClicksBeforeTheFirstCaptureDoNothing) {
    setPreview(kThree);
    f().framePage.session.photo = std::make_shared<ui::PixelBitmap>();
    clickFrame(0);
    EXPECT_EQ(rig.cad.created, 0);
    EXPECT_FALSE(f().framePage.session.frames[0].chosen);
}

TEST_F(FramePreview, OverlappingFramesGiveTheFirstInListOrder) {
    const FrameRect wide = frame(20, 20, 120, 80), small = frame(10, 10, 60, 60);
    for (bool wideFirst : {true, false}) {
        setPreview(wideFirst ? frames::FrameList{wide, small} : frames::FrameList{small, wide});
        click(30, 70);  // (30, 30), inside both
        EXPECT_EQ(flags(f().framePage.session.frames), (std::vector<bool>{true, false})) << wideFirst;
    }
}

TEST_F(FramePreview, ButtonsAndKeysChooseOrRelease) {
    const struct { MouseButton button; bool shift, ctrl, chooses; } cases[] = {
        {MouseButton::Left, false, false, true},   {MouseButton::Left, true, false, false},
        {MouseButton::Left, false, true, false},   {MouseButton::Right, false, false, false},
        {MouseButton::Middle, false, false, false}, {MouseButton::Right, true, true, false},
    };
    for (const auto& c : cases) {
        const std::string name = std::to_string(static_cast<int>(c.button)) + (c.shift ? "+shift" : "") + (c.ctrl ? "+ctrl" : "");
        frames::FrameList list = kThree;
        list[1].chosen = !c.chooses;
        list[2].chosen = true;
        setPreview(list);
        rig.shell.windows[FormRig::kCadWindow].iconic = true;
        rig.shell.log.clear();
        click(105, 65, c.button, c.shift, c.ctrl);  // (105, 35), frame 1
        EXPECT_EQ(f().framePage.session.frames[1].chosen, c.chooses) << name;
        EXPECT_TRUE(f().framePage.session.frames[2].chosen) << name;
        EXPECT_EQ(f().framePage.chosenCount->text(), c.chooses ? L"2" : L"1") << name;
        EXPECT_EQ(rig.shell.log, (std::vector<std::string>{"restore 101", "foreground 101"})) << name;
        EXPECT_EQ(rig.host->view().centreX, 105) << name;  // the CAD view shows the clicked frame
        EXPECT_EQ(rig.host->view().centreY, 35) << name;
        if (!c.chooses) {
            EXPECT_TRUE(interiorClean(list[1])) << name;
        }
    }
}

TEST_F(FramePreview, ChoosingAChosenFrameKeepsTheCount) {
    setPreview(kThree);
    clickFrame(0);
    clickFrame(0);
    EXPECT_EQ(flags(f().framePage.session.frames), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(f().framePage.chosenCount->text(), L"1");
    EXPECT_EQ(columnsOf(kRed, 65, 0, 35), (std::set<int>{13}));
}

TEST_F(FramePreview, NumbersFollowListOrderNotClickOrder) {
    setPreview(kThree);
    clickFrame(2);
    rig.shell.texts.clear();
    clickFrame(0);
    // Frame 0: centre pixel (35, 65), cell 55 high, "1" 27 wide; frame 2: (170, 65).
    EXPECT_EQ(numbers(), (std::vector<std::string>{"1@22,38", "2@157,38"}));
    for (const auto& t : rig.shell.texts) EXPECT_EQ(t.colour, kRed);
    EXPECT_EQ(f().framePage.chosenCount->text(), L"2");
}

TEST_F(FramePreview, NumberCellFollowsTheFrameHeight) {
    // 10 units per pixel: the frame 400 x 300 lies on pixels 80 ... 120 x 35 ... 65.
    setPreview({frame(0, 0, 400, 300)}, 200, 100, 200, 150, 10);
    click(100, 50);
    ASSERT_EQ(rig.shell.texts.size(), 1u);
    const app::TextMark& t = rig.shell.texts[0];
    EXPECT_EQ(t.text, L"1");
    EXPECT_EQ(t.height, 33);
    EXPECT_EQ(t.x, 100 - t.width / 2);
    EXPECT_EQ(t.y, 50 - 33 / 2);
}

TEST_F(FramePreview, WithoutTheCadHostOnlyTheScaleIsShown) {
    const auto cadWindow = rig.shell.windows.at(FormRig::kCadWindow);
    for (bool noWindow : {true, false}) {
        FormRig& r = rig;
        r.shell.windows[FormRig::kCadWindow] = cadWindow;
        setPreview(kThree);
        setPaper(L"A3");
        f().framePage.printScale->setText(L"");
        f().framePage.chosenCount->setText(L"7 before");
        if (noWindow) r.shell.windows.erase(FormRig::kCadWindow);
        r.cad.fail = !noWindow;
        clickFrame(0);
        EXPECT_EQ(f().framePage.printScale->text(), L"0.1190") << noWindow;  // 50 / 420
        EXPECT_EQ(f().framePage.chosenCount->text(), L"7 before") << noWindow;
        EXPECT_FALSE(f().framePage.session.frames[0].chosen) << noWindow;
        EXPECT_TRUE(interiorClean(kThree[0])) << noWindow;
    }
}

TEST_F(FramePreview, ScaleOfTheClickedFrameOnThePaper) {
    const struct { const wchar_t* paper; const wchar_t* shown; } cases[] = {
        {L"A3", L"1.0000"}, {L"ISO A4 (210 x 297 mm)", L"1.4141"}, {L"Letter", L"kept"},
    };
    for (const auto& c : cases) {
        setPreview({frame(0, 0, 420, 297)}, 200, 100, 210, 148.5, 10);
        setPaper(c.paper);
        f().framePage.printScale->setText(L"kept");
        click(100, 50);
        EXPECT_EQ(f().framePage.printScale->text(), c.shown) << simtest::utf8(c.paper);
        EXPECT_TRUE(f().framePage.session.frames[0].chosen);
    }
}

TEST_F(FramePreview, AllButtonChoosesOrReleasesEveryFrame) {
    const struct { MouseButton button; bool shift, ctrl, chooses; } cases[] = {
        {MouseButton::Left, false, false, true},   {MouseButton::Middle, false, false, true},
        {MouseButton::Middle, true, true, true},   {MouseButton::Right, false, false, false},
        {MouseButton::Left, true, false, false},   {MouseButton::Left, false, true, false},
    };
    for (const auto& c : cases) {
        const std::string name = std::to_string(static_cast<int>(c.button)) + (c.shift ? "+shift" : "") + (c.ctrl ? "+ctrl" : "");
        frames::FrameList list = kThree;
        for (auto& w : list) w.chosen = !c.chooses;
        setPreview(list);
        rig.shell.texts.clear();
        pressAll(c.button, c.shift, c.ctrl);
        EXPECT_EQ(flags(f().framePage.session.frames), std::vector<bool>(3, c.chooses)) << name;
        EXPECT_EQ(f().framePage.chosenCount->text(), c.chooses ? L"3" : L"0") << name;
        EXPECT_EQ(numbers(), c.chooses ? (std::vector<std::string>{"1@22,38", "2@92,38", "3@157,38"})
                                       : std::vector<std::string>{}) << name;
        EXPECT_TRUE(rig.shell.messages.empty()) << name;
    }
}

TEST_F(FramePreview, ChoosingAllLeavesTheLastFramesEntitiesInTheTemporarySet) {
    setPreview(kThree);
    pressAll(MouseButton::Left);
    cad::CadSelectionSet* set = tempSet();
    ASSERT_NE(set, nullptr);
    const int n = set->entityCount();
    EXPECT_GE(n, 2);  // the two lines inside the last frame
    for (int i = 0; i < n; ++i) {
        const std::vector<double> xy = set->entityAt(i)->Coordinates();
        for (std::size_t k = 0; k + 1 < xy.size(); k += 2) {
            EXPECT_GE(xy[k], 150);
            EXPECT_LE(xy[k], 190);
        }
    }
}

TEST_F(FramePreview, ReleasingAllErasesTheMarks) {
    setPreview(kThree);
    pressAll(MouseButton::Left);
    ASSERT_EQ(columnsOf(kRed, 65, 0, 35), (std::set<int>{14, 15}));
    pressAll(MouseButton::Right);
    for (const FrameRect& w : kThree) EXPECT_TRUE(interiorClean(w));
    EXPECT_EQ(f().framePage.chosenCount->text(), L"0");
}

TEST_F(FramePreview, NothingToChooseWithoutFramesOrCadHost) {
    setPreview({});
    f().framePage.chosenCount->setText(L"7 before");
    pressAll(MouseButton::Left);
    EXPECT_EQ(rig.cad.created, 0);
    setPreview(kThree);
    rig.shell.windows.erase(FormRig::kCadWindow);
    pressAll(MouseButton::Left);
    EXPECT_EQ(flags(f().framePage.session.frames), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(f().framePage.chosenCount->text(), L"7 before");
}

struct FramePreviewFailing : FramePreview {
    static sim::Options failing() {
        sim::Options o;
        o.fails = {"selectWithFilter@2", "showAreaInView"};
        return o;
    }
    FramePreviewFailing() : FramePreview(failing()) {}
};

TEST_F(FramePreviewFailing, AFailingCadCallEndsAClickQuietly) {
    setPreview(kThree);
    setPaper(L"A3");
    clickFrame(0);
    EXPECT_TRUE(rig.shell.messages.empty());
    EXPECT_EQ(f().framePage.printScale->text(), L"0.1190");
    EXPECT_FALSE(f().framePage.session.frames[0].chosen);
    EXPECT_EQ(rig.host->liveObjects(), 0);
}

TEST_F(FramePreviewFailing, AFailingCadCallIsReportedAndEarlierFramesStayChosen) {
    frames::FrameList list = kThree;
    list[1].chosen = list[2].chosen = true;
    setPreview(list);
    pressAll(MouseButton::Left);
    ASSERT_EQ(rig.shell.messages.size(), 1u);
    EXPECT_NE(rig.shell.messages[0].find(L"injected by --fail selectWithFilter@2"), std::wstring::npos);
    // The first is chosen, the second was released before its selection failed, the third
    // was not reached.
    EXPECT_EQ(flags(f().framePage.session.frames), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(f().framePage.chosenCount->text(), L"2");
    EXPECT_EQ(rig.host->liveObjects(), 0);
}

TEST_F(FramePreview, ReorderKeepsChoicesAndRenumbers) {
    // Two rows: 0 and 1 at the bottom, 2 above 0.
    const frames::FrameList list{frame(10, 5, 60, 45, true), frame(80, 5, 130, 45), frame(10, 55, 60, 95, true)};
    setPreview(list);
    rig.shell.texts.clear();
    ASSERT_TRUE(f().framePage.fromTop->userClick());  // from the top
    std::vector<std::pair<double, double>> corners;
    for (const auto& w : f().framePage.session.frames) corners.emplace_back(w.minx, w.miny);
    EXPECT_EQ(corners, (std::vector<std::pair<double, double>>{{10, 55}, {10, 5}, {80, 5}}));
    EXPECT_EQ(flags(f().framePage.session.frames), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(f().framePage.chosenCount->text(), L"2");
    // "1" on the top frame (centre pixel (35, 25)), "2" on the bottom-left one (35, 75).
    EXPECT_EQ(numbers(), (std::vector<std::string>{"1@24,3", "2@24,53"}));
    EXPECT_EQ(rig.cad.created, 0);
}

TEST_F(FramePreview, ReorderIsRefusedWhileAFramePlotRunsButChoosingIsNot) {
    const frames::FrameList list{frame(10, 5, 60, 45), frame(80, 5, 130, 45), frame(10, 55, 60, 95)};
    setPreview(list);
    f().framePage.chosenCount->setText(L"7 before");
    f().framePage.setPlotRunning(true);
    f().framePage.fromTop->setChecked(true);
    EXPECT_EQ(f().framePage.session.frames, list);
    EXPECT_EQ(f().framePage.chosenCount->text(), L"7 before");
    clickFrame(2);
    EXPECT_EQ(flags(f().framePage.session.frames), (std::vector<bool>{false, false, true}));
}

TEST_F(FramePreview, MarkPensAndInsetsFollowTheMonitorScale) {
    // Frame 10 ... 90 wide; the row through its centre, left of the number.
    const struct { int factor; std::set<int> oneFrame, allFrames; } cases[] = {
        {100, {13}, {14, 15}},      // pw 3; S 2, d 2
        {125, {13}, {14, 15}},      // pw 3; S 2, d 2
        {150, {13, 14}, {16, 17, 18}},  // pw 4; S 3, d 3
    };
    for (const auto& c : cases) {
        setPreview({frame(10, 10, 90, 90)});
        f().monitorScaleFactor = c.factor;
        click(50, 50);
        EXPECT_EQ(columnsOf(kRed, 50, 0, 40), c.oneFrame) << c.factor;
        setPreview({frame(10, 10, 90, 90)});
        f().monitorScaleFactor = c.factor;
        pressAll(MouseButton::Left);
        EXPECT_EQ(columnsOf(kRed, 50, 0, 40), c.allFrames) << c.factor;
    }
}

TEST_F(FramePreview, ClickMapsThroughTheImageAreasFitFactor) {
    // The 200 x 100 preview shown in a 400 x 300 image area: twice as large, 50 pixels
    // down. The pixel under (70, 180) is (35, 65), drawing (35, 35), inside frame 0.
    const struct { int x, y; std::vector<bool> chosen; } cases[] = {
        {70, 180, {true, false, false}},
        {116, 180, {true, false, false}},   // (58, 35), near frame 0's right edge
        {210, 180, {false, true, false}},   // (105, 35)
        {140, 180, {false, false, false}},  // (70, 35), between
        {70, 60, {false, false, false}},    // (35, 90), above
    };
    for (const auto& c : cases) {
        setPreview(kThree);
        f().framePage.preview->setBounds({0, 0, 400, 300});
        click(c.x, c.y);
        EXPECT_EQ(flags(f().framePage.session.frames), c.chosen) << c.x << "," << c.y;
    }
}

TEST(FramePreviewMapping, TruncatesTowardsZeroAndStaysDefined) {
    const frames::PreviewMapping m{1000, 500, 2.5, 201, 101};
    EXPECT_EQ(m.px(1000), 100);
    EXPECT_EQ(m.py(500), 51);
    EXPECT_EQ(m.px(1000 - 2.5 * 3.9), 97);  // truncated towards zero, not down
    EXPECT_EQ(m.py(500 - 2.5 * 3.9), 54);
    const frames::PreviewMapping noScale{0, 0, 0, 200, 100};
    EXPECT_EQ(noScale.px(5), 100 + static_cast<int>(frames::kPixelLimit));
    EXPECT_EQ(noScale.px(0), 100);  // 0 / 0
    EXPECT_DOUBLE_EQ(frames::fitFactor(400, 300, 200, 100), 2.0);
    EXPECT_DOUBLE_EQ(frames::fitFactor(400, 300, 0, 100), 0.0);
}

}  // namespace
