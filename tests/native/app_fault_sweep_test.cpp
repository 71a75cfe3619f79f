// Every handler that talks to the CAD host, against every way one call of it can go
// wrong. For each handler a clean run is traced first; then, for every call k of that
// run, a fresh window runs the handler again with call k failing, and once more with
// call k answering in the wrong shape. After each: no exception escapes but the host
// failures the handler hands to the error box, no automation object is alive, the frame
// list is the one before or the whole new one, no sheet went out twice, the CAD's grid
// display is back, the user's BACKGROUNDPLOT is back (but after the equal-interval plot,
// which leaves it at 0), the main window is back where it was and not minimised, both pages'
// "印刷" and "中止" are back, the settings file the end writes is whole, and a run that
// handed over fewer sheets than the clean one told the user so, once.
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

// One title-block block "F" (a 400 x 300 sheet with a TITLE attribute) inserted once on
// the frame layer beside the two polyline frames, for the block frames and the file names
// taken from their attributes.
sim::Drawing blockSweepDrawing() {
    const auto g = [](const std::vector<std::pair<int, std::string>>& pairs) {
        std::string text;
        for (const auto& [code, value] : pairs) text += std::to_string(code) + "\n" + value + "\n";
        return text;
    };
    const auto rectangle = [&](const std::string& layer, int x0, int y0, int x1, int y1) {
        const auto n = [](int v) { return std::to_string(v); };
        return g({{0, "LWPOLYLINE"}, {8, layer}, {90, "4"}, {70, "1"}, {10, n(x0)}, {20, n(y0)}, {10, n(x1)},
                  {20, n(y0)}, {10, n(x1)}, {20, n(y1)}, {10, n(x0)}, {20, n(y1)}});
    };
    std::string text = g({{0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {8, "0"}, {2, "F"}, {70, "2"}, {10, "0"}, {20, "0"}});
    text += rectangle("0", 0, 0, 400, 300) + g({{0, "ENDBLK"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
    text += g({{0, "INSERT"}, {8, "MORVEL"}, {66, "1"}, {2, "F"}, {10, "1000"}, {20, "0"}, {0, "ATTRIB"}, {8, "0"},
               {10, "1010"}, {20, "10"}, {40, "5"}, {1, "plan"}, {2, "TITLE"}, {70, "0"}, {0, "SEQEND"}});
    text += rectangle("MORVEL", 0, 0, 420, 297) + rectangle("MORVEL", 500, 0, 920, 297);
    text += g({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1460"}, {21, "597"}, {0, "ENDSEC"}, {0, "EOF"}});
    return sim::readDxfText(text, "blocks.dxf");
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
    bool blockDrawing = false;  // the drawing with a block frame (blockSweepDrawing)
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
// Block references are frames too, and every sheet goes to a file named by the block's
// attribute (the rig sets the folder).
void blockFramesToFiles(app::MainWindow& f) {
    savedNames(f);
    f.setBlockFrames(true);
    f.setPlotToFile(true);
    f.fileOutput.pattern = L"{drawing}-{attr:TITLE}-{n}";
}
void allBlockFramesChosenToFiles(app::MainWindow& f) {
    blockFramesToFiles(f);
    f.framePage.capture();
    for (frames::FrameRect& r : f.framePage.session.frames) r.chosen = true;
}
void allCellsChosenToFiles(app::MainWindow& f) {
    allCellsChosen(f);
    f.setPlotToFile(true);
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
        {"frame capture of block frames, attributes read", false, blockFramesToFiles,
         [](app::MainWindow& f) { f.framePage.capture(); }, true},
        {"frame print to files", false, allBlockFramesChosenToFiles, [](app::MainWindow& f) { f.framePage.print(); },
         true},
        {"grid print to files", false, allCellsChosenToFiles, [](app::MainWindow& f) { f.gridPage.print(); }},
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
        rig = std::make_unique<FormRig>(handler.blockDrawing ? blockSweepDrawing() : sweepDrawing(), options);
        rig->setViewArea(240, 120);  // a small photograph: the pixels are not what is swept
        rig->host->setGridMode(true);
        setBackgroundPlot(1);  // plots in the background
        rig->host->promptHandler = [](const sim::PromptRequest& request) {
            return request.kind == sim::PromptRequest::Kind::Point ? sim::PromptAnswer{false, 10, 20, 0}
                                                                   : sim::PromptAnswer{false, 0, 0, 420};
        };
        handler.prepare(rig->f());
        // Files go to "out" in the drawing's folder, or, for a drawing never saved, in
        // the Documents folder, which is the rig's.
        rig->shell.documents = dir.path.wstring();
        rig->f().fileOutput.folder = L"out";
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
    std::set<std::string> swept;  // every member failed somewhere
    for (const Handler& handler : handlers()) {
        SCOPED_TRACE(handler.name);
        // The clean run: its calls, and the frame list it leaves.
        std::vector<std::string> calls;
        Rects framesAfterClean;
        std::size_t sheetsOfClean = 0;
        {
            SweepRig clean(handler);
            handler.run(clean.rig->f());
            const std::vector<std::string> lines = clean.trace();
            calls.assign(lines.begin() + static_cast<std::ptrdiff_t>(clean.traceBefore), lines.end());
            framesAfterClean = rectsOf(clean.rig->f().framePage.session.frames);
            sheetsOfClean = clean.jobs().size();
            if (std::string(handler.name).find(" print") != std::string::npos) {
                EXPECT_GT(sheetsOfClean, 1u) << "the clean run plotted too little";
            }
        }
        ASSERT_FALSE(calls.empty()) << "the clean run called nothing";

        std::map<std::string, int> seen;
        for (const std::string& line : calls) {
            const std::string member = calledMember(line);
            swept.insert(member.substr(member.find('.') + 1));
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
                if (!std::string(handler.name).starts_with("grid print")) {
                    EXPECT_EQ(sweep.backgroundPlot(), 1) << "BACKGROUNDPLOT not put back";
                }
                EXPECT_FALSE(sweep.rig->shell.mainMinimised);
                EXPECT_EQ(f.form().windowRect(), sweep.windowBefore);
                for (ui::Button* b : {f.framePage.printButton, f.gridPage.printButton}) EXPECT_TRUE(b->enabled());
                for (ui::Button* b : {f.framePage.stopButton, f.gridPage.stopButton}) EXPECT_FALSE(b->enabled());
                EXPECT_FALSE(f.plotRunning());
                if (sweep.jobs().size() < sheetsOfClean) {
                    const auto& shell = sweep.rig->shell;
                    EXPECT_EQ(shell.messages.size() + shell.questions.size(), 1u)
                        << "a run that stopped short did not say so once";
                }

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
    // The members of block frames, their attributes and the file output among them.
    for (const char* member : {"Rotation", "GetBoundingBox", "GetAttributes", "TagString", "TextString", "Path", "Name",
                               "PlotToFile", "PlotToDevice", "GetVariable", "SetVariable"})
        EXPECT_TRUE(swept.count(member)) << member << " never swept";
    std::printf("fault sweep: %d cases (handler, call, kind) over %zu handlers\n", cases, handlers().size());
    RecordProperty("cases", cases);
}

}  // namespace
