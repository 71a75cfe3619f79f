// Every handler that talks to the CAD host, against every way one call of it can go
// wrong. For each handler a clean run is traced first; then, for every call k of that
// run, a fresh window runs the handler again with call k failing, and once more with
// call k answering in the wrong shape. After each: no exception escapes but the host
// failures the handler hands to the error box, no automation object is alive, the frame
// list is the one before or the whole new one, no sheet went out twice, the CAD's grid
// display is back, the user's BACKGROUNDPLOT is back (but after the equal-interval plot,
// which leaves it at 0), the main window is back where it was and not minimised, both pages'
// "印刷" and "中止" are back, and the settings file the end writes is whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "form_rig.h"
#include "plot_batch_rig.h"
#include "sim_test_support.h"

namespace {

using testing_support::FormRig;

sim::Drawing sweepDrawing() {
    return simtest::drawingOf({simtest::rectangle(L"MORVEL", 0, 0, 420, 297),
                               simtest::rectangle(L"MORVEL", 500, 0, 920, 297),
                               simtest::line(L"0", {0, 0}, {1260, 597})});
}

// The image pixel that shows a drawing point on a page's photograph.
ui::MouseEvent pressOn(const ui::Image& image, const app::PreviewView& view, const ui::Picture& photo, double x,
                       double y) {
    const double e = frames::fitFactor(image.width(), image.height(), photo.width(), photo.height());
    ui::MouseEvent press;
    press.x = static_cast<int>(std::lround(image.width() / 2 + (x - view.cx) * e / view.scale));
    press.y = static_cast<int>(std::lround(image.height() / 2 - (y - view.cy) * e / view.scale));
    return press;
}

struct Handler {
    const char* name;
    bool reportsHostFailures;  // its host failures go to the error box
    std::function<void(app::MainWindow&)> prepare;  // in the clean, untraced part
    std::function<void(app::MainWindow&)> run;
};

void savedNames(app::MainWindow& f) {
    f.framePage.lists.saved = {L"PDF", L"ISO A3 (297.00 x 420.00 mm)", L"monochrome.ctb"};
    f.gridPage.lists.saved = {L"PDF", L"ISO_A3_(297.00_x_420.00_MM)", L"monochrome.ctb"};
}
void frameCaptured(app::MainWindow& f) {
    savedNames(f);
    f.framePage.capture();
}
void gridCaptured(app::MainWindow& f) {
    savedNames(f);
    f.gridPage.capture();
}
void allFramesChosen(app::MainWindow& f) {
    frameCaptured(f);
    for (frames::FrameRect& r : f.framePage.session.frames) r.chosen = true;
}
void allCellsChosen(app::MainWindow& f) {
    gridCaptured(f);
    std::fill(f.gridPage.session.chosenCells.begin(), f.gridPage.session.chosenCells.end(), true);
}

const std::vector<Handler>& handlers() {
    static const std::vector<Handler> all = {
        {"frame capture", false, savedNames, [](app::MainWindow& f) { f.framePage.capture(); }},
        {"grid capture", false, savedNames, [](app::MainWindow& f) { f.gridPage.capture(); }},
        {"frame list refresh", false, savedNames, [](app::MainWindow& f) { f.framePage.refreshLists(); }},
        {"grid list refresh", false, savedNames, [](app::MainWindow& f) { f.gridPage.refreshLists(); }},
        {"frame paper refresh", false, frameCaptured, [](app::MainWindow& f) { f.framePage.printerChanged(); }},
        {"grid paper refresh", false, gridCaptured, [](app::MainWindow& f) { f.gridPage.printerChanged(); }},
        {"frame preview press", false, frameCaptured,
         [](app::MainWindow& f) {
             const app::FrameSession& s = f.framePage.session;
             f.framePage.previewPressed(pressOn(*f.framePage.preview, s.view, *s.photo, 210, 150));
         }},
        {"grid preview press", false, gridCaptured,
         [](app::MainWindow& f) {
             const app::GridSession& s = f.gridPage.session;
             f.gridPage.previewPressed(pressOn(*f.gridPage.preview, s.view, *s.photo, 210, 150));
         }},
        {"frame choose all", true, frameCaptured,
         [](app::MainWindow& f) { f.framePage.chooseOrReleaseAll(ui::MouseEvent{}); }},
        {"grid choose all", true, gridCaptured,
         [](app::MainWindow& f) { f.gridPage.chooseOrReleaseAll(ui::MouseEvent{}); }},
        {"frame print", false, allFramesChosen, [](app::MainWindow& f) { f.framePage.print(); }},
        {"grid print", false, allCellsChosen, [](app::MainWindow& f) { f.gridPage.print(); }},
        {"base point pick", false, savedNames, [](app::MainWindow& f) { f.gridPage.pickBasePoint(); }},
        {"spacing pick", false, savedNames, [](app::MainWindow& f) { f.gridPage.pickSpacing(); }},
        {"drawing scale pick", true, savedNames, [](app::MainWindow& f) { f.gridPage.pickDrawingScale(); }},
    };
    return all;
}

using Rects = std::vector<std::array<double, 4>>;
Rects rectsOf(const frames::FrameList& frames) {
    Rects out;
    for (const frames::FrameRect& r : frames) out.push_back({r.minx, r.miny, r.maxx, r.maxy});
    return out;
}

// One window with the stand-in behind it, traced and journalled into a folder of its own.
struct SweepRig {
    simtest::TempDir dir;
    std::unique_ptr<FormRig> rig;
    std::size_t traceBefore = 0;
    Rects framesBefore;
    ui::Rect windowBefore;

    explicit SweepRig(const Handler& handler) {
        sim::Options options;
        options.trace = dir / "trace.txt";
        options.journal = dir / "journal.jsonl";
        rig = std::make_unique<FormRig>(sweepDrawing(), options);
        rig->setViewArea(240, 120);  // a small photograph: the pixels are not what is swept
        rig->host->setGridMode(true);
        setBackgroundPlot(1);  // plots in the background
        rig->host->promptHandler = [](const sim::PromptRequest& request) {
            return request.kind == sim::PromptRequest::Kind::Point ? sim::PromptAnswer{false, 10, 20, 0}
                                                                   : sim::PromptAnswer{false, 0, 0, 420};
        };
        handler.prepare(rig->f());
        traceBefore = trace().size();
        framesBefore = rectsOf(rig->f().framePage.session.frames);
        windowBefore = rig->f().form().windowRect();
    }
    std::vector<std::string> trace() const { return simtest::readLines(dir / "trace.txt"); }
    void setBackgroundPlot(int value) {
        cad::wrapApplication(rig->host->application())
            ->currentDocument()
            ->writeSysVar(L"BACKGROUNDPLOT", static_cast<std::int16_t>(value));
    }
    int backgroundPlot() {
        return cad::sysVarInteger(
            cad::wrapApplication(rig->host->application())->currentDocument()->readSysVar(L"BACKGROUNDPLOT"));
    }
    std::vector<std::string> jobs() const { return simtest::readLines(dir / "journal.jsonl"); }
};

// "Object.Member" of a trace line: `Layout.ConfigName = "PDF"`, `Plot.PlotToDevice(omitted)`.
std::string calledMember(const std::string& line) { return line.substr(0, line.find_first_of(" (")); }

TEST(FaultSweep, EveryCallOfEveryHandlerFailingOrGarbled) {
    int cases = 0;
    for (const Handler& handler : handlers()) {
        SCOPED_TRACE(handler.name);
        // The clean run: its calls, and the frame list it leaves.
        std::vector<std::string> calls;
        Rects framesAfterClean;
        {
            SweepRig clean(handler);
            handler.run(clean.rig->f());
            const std::vector<std::string> lines = clean.trace();
            calls.assign(lines.begin() + static_cast<std::ptrdiff_t>(clean.traceBefore), lines.end());
            framesAfterClean = rectsOf(clean.rig->f().framePage.session.frames);
            if (std::string(handler.name).ends_with("print")) {
                EXPECT_FALSE(clean.jobs().empty()) << "the clean run plotted nothing";
            }
        }
        ASSERT_FALSE(calls.empty()) << "the clean run called nothing";

        std::map<std::string, int> seen;
        for (const std::string& line : calls) {
            const std::string member = calledMember(line);
            const std::string rule = member + "@" + std::to_string(++seen[member]);
            for (const bool garble : {false, true}) {
                ++cases;
                SCOPED_TRACE((garble ? "--garble " : "--fail ") + rule + "  (" + line + ")");
                SweepRig sweep(handler);
                app::MainWindow& f = sweep.rig->f();
                sim::Options faults;
                (garble ? faults.garbles : faults.fails) = {rule};
                sweep.rig->host->replaceFaults(faults);

                try {
                    handler.run(f);
                } catch (const cad::CadError&) {
                    EXPECT_TRUE(handler.reportsHostFailures) << "a host failure escaped the handler";
                } catch (const std::exception& e) {
                    ADD_FAILURE() << "escaped: " << e.what();
                }

                EXPECT_EQ(sweep.rig->host->liveObjects(), 0) << "an automation object outlived the handler";
                const Rects frames = rectsOf(f.framePage.session.frames);
                EXPECT_TRUE(frames == sweep.framesBefore || frames == framesAfterClean) << "a frame list half made";
                std::set<std::string> windows;
                for (const std::string& job : sweep.jobs())
                    EXPECT_TRUE(windows.insert(testing_support::field(job, "window")).second) << "sent twice: " << job;
                EXPECT_TRUE(sweep.rig->host->gridMode()) << "GRIDMODE left off";
                EXPECT_FALSE(sweep.rig->host->finishBackgroundPlot()) << "a sheet plotting in the background";
                if (std::string(handler.name) != "grid print") {
                    EXPECT_EQ(sweep.backgroundPlot(), 1) << "BACKGROUNDPLOT not put back";
                }
                EXPECT_FALSE(sweep.rig->shell.mainMinimised);
                EXPECT_EQ(f.form().windowRect(), sweep.windowBefore);
                for (ui::Button* b : {f.framePage.printButton, f.gridPage.printButton}) EXPECT_TRUE(b->enabled());
                for (ui::Button* b : {f.framePage.stopButton, f.gridPage.stopButton}) EXPECT_FALSE(b->enabled());
                EXPECT_FALSE(f.plotRunning());

                f.windowDestroyed();
                std::ifstream in(sweep.rig->folder / "quillon.ini", std::ios::binary);
                const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
                ASSERT_TRUE(bytes.starts_with("\xFF\xFE")) << "no settings file written";
                const std::wstring text = base::fromUtf16(std::string_view(bytes).substr(2), false);
                EXPECT_NE(text.find(L"Left=" + std::to_wstring(sweep.windowBefore.left) + L"\r\nTop=" +
                                    std::to_wstring(sweep.windowBefore.top)),
                          std::wstring::npos);
                EXPECT_NE(text.find(L"TateKaiten="), std::wstring::npos) << "the file ends early";
                if (HasFailure()) return;  // one case's failures say enough
            }
        }
    }
    std::printf("fault sweep: %d cases (handler, call, kind) over %zu handlers\n", cases, handlers().size());
    RecordProperty("cases", cases);
}

}  // namespace
