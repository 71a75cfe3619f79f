// Test helper: the stand-in with a drawing and Quillon beside it, both as separate
// programs, and the frame page as the user sees and works it: the buttons, the count
// and scale fields, the preview and its screen copy, and where a drawing point lies on
// that copy.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/model/drawing.h"
#include "tests/win/quillon_process.h"
#include "tests/win/road_support.h"
#include "tests/win/stand_in.h"

namespace road {

constexpr std::uint32_t kOutline = rgb(0, 255, 255);
constexpr std::uint32_t kMark = rgb(255, 100, 100);
constexpr std::uint32_t kEmptyImage = rgb(22, 22, 22);  // the image control with no picture

// A rectangle in drawing units.
struct Rect {
    double minx, miny, maxx, maxy;
};

// The frames of the bundled sample drawing (sim/sample/make_sample.py lays them out), in
// plot order with rows from the bottom, and how each is plotted on upright A3: landscape
// frames turned by 90 degrees (item 1), portrait ones as they are (item 0). Besides its
// nine sheets the drawing holds two closed four-vertex polylines on the frame layer that
// are not rectangles: a sheet turned by 15 degrees and a trapezoid. They are frames too,
// as their bounding boxes.
struct SampleFrame {
    const char* title;
    Rect frame;
    double scale;  // drawing units per paper millimetre: the longer side over 420
    int rotation;
};

inline SampleFrame turnedSheet() {
    const double pi = std::acos(-1.0), c = std::cos(pi / 12), s = std::sin(pi / 12), w = 8400, h = 5940;
    const Rect r{90000, 0, 90000 + h * s + w * c, w * s + h * c};
    return {"TURNED", r, (r.maxx - r.minx) / 420, 1};
}

inline const std::vector<SampleFrame>& sampleFrames() {
    static const std::vector<SampleFrame> frames = {
        {"1F PLAN", {0, 0, 21000, 14850}, 50, 1},
        {"SITE PLAN", {24000, 3, 45025, 14853}, 21025.0 / 420, 1},
        {"SECTION A", {48000, -2, 62850, 20998}, 50, 0},
        turnedSheet(),
        {"TRAPEZOID", {90000, 10000, 98400, 15940}, 20, 1},
        {"KEY PLAN", {0, 25000, 42000, 54700}, 100, 1},
        {"2F PLAN", {45000, 25004, 66000, 39854}, 50, 1},
        {"ELEVATION", {69000, 24997, 83850, 46022}, 21025.0 / 420, 0},
        {"DETAIL 1", {0, 58000, 420, 58297}, 1, 1},
        {"DETAIL 2", {1000, 58003, 5200, 60973}, 10, 1},
        {"DETAIL 3", {6000, 57998, 8970, 62198}, 10, 0},
    };
    return frames;
}

// The frames of the block-frame sample (make_sample.py --blocks), in plot order with rows
// from the bottom, with the frame layer's block references taken as frames: title-block
// blocks unturned, turned by 90, 180 and 270 degrees, mirrored and nested, two polyline
// frames, and a polyline drawn on the outline of the block frame turned by 90 degrees
// (one frame). A block reference turned by 30 degrees is no frame.
inline const std::vector<SampleFrame>& blockSampleFrames() {
    static const std::vector<SampleFrame> frames = {
        {"A3", {0, 0, 21000, 14850}, 50, 1},
        {"A3 90", {24000, 3, 38850, 21003}, 50, 0},
        {"A1", {42000, -2, 63025, 14848}, 21025.0 / 420, 1},
        {"POLYLINE", {66000, 4, 87000, 14854}, 50, 1},
        {"A3 1:100", {0, 25000, 42000, 54700}, 100, 1},
        {"MIRRORED", {45000, 25003, 66000, 39853}, 50, 1},
        {"A3 270", {69000, 24998, 83850, 45998}, 50, 0},
        {"NESTED", {0, 60000, 21000, 74850}, 50, 1},
        {"A3 180", {54000, 59997, 64500, 67422}, 25, 1},
        {"POLYLINE 1:25", {67000, 60002, 77500, 67427}, 25, 1},
    };
    return frames;
}

inline std::filesystem::path blockSampleDrawing() {
    return std::filesystem::path(QUILLON_SOURCE_DIR) / "sim/sample/blocks.dxf";
}

inline const SampleFrame& frameTitled(const std::vector<SampleFrame>& frames, const std::string& title) {
    for (const SampleFrame& f : frames)
        if (title == f.title) return f;
    throw std::invalid_argument("no sample frame " + title);
}

inline std::vector<Rect> framesOf(const std::vector<SampleFrame>& frames) {
    std::vector<Rect> out;
    for (const SampleFrame& f : frames) out.push_back(f.frame);
    return out;
}

inline std::filesystem::path tempPath(const std::wstring& name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::filesystem::path(dir) / name;
}

// A copy of the drawing, in the temporary folder, with its cyan layers turned yellow (the
// samples' frame layer is cyan), so that only Quillon's outlines are pure cyan.
inline std::filesystem::path withoutCyan(const std::filesystem::path& drawing) {
    const std::filesystem::path copy = tempPath(L"quillon-road-" + drawing.filename().wstring());
    EXPECT_TRUE(writeWithoutCyanLayers(drawing, copy)) << drawing;
    return copy;
}

inline std::filesystem::path sampleDrawing() {
    return std::filesystem::path(QUILLON_SOURCE_DIR) / "sim/sample/sample.dxf";
}

inline std::wstring wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The stand-in's window and Quillon's lie side by side, clear of each other: on a bare
// X display a minimised window may stay on the screen, and the capture must photograph
// the stand-in's view and nothing else. Quillon's image area comes out a little wider
// than the stand-in's view, so the photograph is not reduced.
constexpr int kCadWidth = 620, kCadHeight = 760;

// Settings that place Quillon beside the stand-in, with the frame layer and the frame
// page's plot choices.
inline std::string settingsFor(const std::string& frameLayer, bool fromTop = false) {
    std::string s = "[MORVEL]\r\nWidth=650\r\nHeight=760\r\nLeft=630\r\nTop=0\r\n";
    s += "mvLayer=" + frameLayer + "\r\n";
    s += "devName2=PDF\r\npaperName2=ISO A3 (297.00 x 420.00 mm)\r\nstyleName2=monochrome.ctb\r\n";
    s += "YokoKaiten=1\r\nTateKaiten=0\r\n";
    s += std::string("Uekara2=") + (fromTop ? "1" : "0") + "\r\n";
    return s;
}

struct Preview {
    Pixels shot;   // the image control as the screen shows it
    Mask mask;     // the button lying over the image
    Box picture;   // the photograph inside it
};

class FrameRoad {
public:
    // Starts the stand-in with the drawing (and its extra arguments), then Quillon. The
    // stand-in's window has the title given (the one of its pose).
    FrameRoad(const std::filesystem::path& drawing, const std::string& settings,
              std::vector<std::wstring> cadsimArgs = {}, const std::wstring& cadTitle = cad::kHostWindowTitle)
        : drawing_(drawing) {
        cadsimArgs.push_back(drawing.wstring());
        cadsim_ = std::make_unique<cadsim_test::StandIn>(cadsimArgs);
        if (!cadsim_->started()) return;
        const HWND cad = cadsim_->waitForMainWindow(30000, cadTitle);
        if (!cad || !SetWindowPos(cad, nullptr, 0, 0, kCadWidth, kCadHeight, SWP_NOZORDER | SWP_NOACTIVATE)) return;
        const bool placed = quillon_test::waitUntil([&] {
            const RECT r = quillon_test::screenRect(cad);
            return r.left == 0 && r.top == 0 && r.right == kCadWidth && r.bottom == kCadHeight;
        }, 5000);
        if (!placed) return;
        quillon_ = std::make_unique<quillon_test::QuillonProcess>(settings);
        if (!quillon_->started() || !quillon_->mainWindow()) return;
        capture_ = quillon_->controlWithText(L"キャプチャ");
        all_ = quillon_->controlWithText(L"すべて");
        print_ = quillon_->controlWithText(L"印刷");
        overImage_ = quillon_->controlWithText(L"▲");
        const auto images = quillon_->controlsOfClass(L"QuillonImage");
        if (images.size() == 1) image_ = images.front();
        if (all_) {
            const RECT r = quillon_test::screenRect(all_);
            count_ = quillon_->controlOfClassNear(L"Edit", {(r.left + r.right) / 2, r.bottom + 4});
        }
        if (HWND label = quillon_->controlWithText(L"計算尺度")) {
            const RECT r = quillon_test::screenRect(label);
            scale_ = quillon_->controlOfClassNear(L"Edit", {r.right + 6, (r.top + r.bottom) / 2});
        }
    }

    // Everything found: both programs run and the frame page's controls are there.
    bool ready() const { return quillon_ && capture_ && all_ && print_ && image_ && count_ && scale_ && overImage_; }
    quillon_test::QuillonProcess& quillon() { return *quillon_; }
    cadsim_test::StandIn& cadsim() { return *cadsim_; }

    HWND captureButton() const { return capture_; }
    HWND allButton() const { return all_; }
    HWND printButton() const { return print_; }
    HWND image() const { return image_; }
    std::wstring countText() const { return quillon_test::windowText(count_); }
    std::wstring scaleText() const { return quillon_test::windowText(scale_); }

    Preview preview() const {
        Preview p;
        const RECT area = quillon_test::screenRect(image_);
        p.shot = screenCopy(area);
        RECT over = quillon_test::screenRect(overImage_);
        OffsetRect(&over, -area.left, -area.top);
        p.mask.holes.push_back(over);
        p.picture = boxOfAllBut(p.shot, kEmptyImage, p.mask);
        return p;
    }

    // Presses キャプチャ and waits until the window is back with a photograph shown and
    // painted: the copy holds a picture, is not mostly black (a window not yet painted)
    // and stays the same over a few polls.
    bool captureAndWait(Preview& out, DWORD ms = 30000) {
        quillon_test::QuillonProcess::click(capture_);
        return settled(out, [](const Preview& p) { return p.picture.count > 1000; }, ms);
    }

    // Waits until the preview satisfies `done` and has stopped changing.
    template <class Done>
    bool settled(Preview& out, Done done, DWORD ms = 20000) {
        std::vector<std::uint32_t> last;
        int same = 0;
        return quillon_test::waitUntil([&] {
            if (IsIconic(quillon_->mainWindow())) return false;
            out = preview();
            const auto black = std::count(out.shot.data.begin(), out.shot.data.end(), 0u);
            if (!done(out) || black * 2 > std::ptrdiff_t(out.shot.data.size())) {
                same = 0;
                return false;
            }
            same = out.shot.data == last ? same + 1 : 0;
            last = out.shot.data;
            return same >= 2;
        }, ms);
    }

    // Where a drawing point lies on the screen copy: the photograph shows the drawing's
    // extents, edge to edge.
    POINT pixelOf(const Preview& p, double x, double y) const {
        const sim::Extents e = extents();
        const double kx = p.picture.width() / (e.max.x - e.min.x), ky = p.picture.height() / (e.max.y - e.min.y);
        return {LONG(std::lround(p.picture.left + (x - e.min.x) * kx)),
                LONG(std::lround(p.picture.top + (e.max.y - y) * ky))};
    }

    sim::Extents extents() const {
        if (extents_.empty) extents_ = sim::readDxf(drawing_).extents();
        return extents_;
    }

private:
    std::filesystem::path drawing_;
    mutable sim::Extents extents_;
    std::unique_ptr<cadsim_test::StandIn> cadsim_;  // declared first: ends last
    std::unique_ptr<quillon_test::QuillonProcess> quillon_;
    HWND capture_ = nullptr, all_ = nullptr, print_ = nullptr, overImage_ = nullptr, image_ = nullptr;
    HWND count_ = nullptr, scale_ = nullptr;
};

// The outline on the preview that lies on a frame: every side within `tolerance`
// pixels of where the frame's side shows; null when none.
inline const Box* outlineOn(const std::vector<Box>& outlines, POINT topLeft, POINT bottomRight, int tolerance = 2) {
    for (const Box& b : outlines)
        if (std::abs(b.left - topLeft.x) <= tolerance && std::abs(b.top - topLeft.y) <= tolerance &&
            std::abs(b.right - bottomRight.x) <= tolerance && std::abs(b.bottom - bottomRight.y) <= tolerance)
            return &b;
    return nullptr;
}

// Checks that the preview holds exactly one cyan outline per frame, each on its frame.
// Returns the outline of each frame, in the order given (empty boxes for failures).
inline std::vector<Box> expectOutlines(const FrameRoad& road, const Preview& p, const std::vector<Rect>& frames) {
    const std::vector<Box> outlines = piecesOf(p.shot, kOutline, p.mask);
    EXPECT_EQ(outlines.size(), frames.size()) << "cyan outlines on the preview";
    std::vector<Box> found;
    for (const Rect& f : frames) {
        const POINT a = road.pixelOf(p, f.minx, f.maxy), b = road.pixelOf(p, f.maxx, f.miny);
        const Box* o = outlineOn(outlines, a, b);
        EXPECT_NE(o, nullptr) << "no outline on the frame " << f.minx << "," << f.miny << " - " << f.maxx << ","
                              << f.maxy << " (expected at pixels " << a.x << "," << a.y << " - " << b.x << ","
                              << b.y << ")";
        found.push_back(o ? *o : Box{});
    }
    return found;
}

}  // namespace road
