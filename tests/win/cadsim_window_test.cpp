// cadsim.exe's windows as another process sees them: the host's layout that Quillon
// photographs, the view's mapping on screen, prompts answered in the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/win/cadsim_client.h"
#include "tests/win/stand_in.h"

namespace {

using namespace cadsim_test;

RECT windowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}
LONG widthOf(const RECT& r) { return r.right - r.left; }
LONG heightOf(const RECT& r) { return r.bottom - r.top; }

struct HostWindows {
    HWND main, document, bar, view;
};

class CadsimWindows : public testing::Test {
protected:
    // One stand-in for the suite: no case needs it fresh.
    static void TearDownTestSuite() { cadsim_.reset(); }
    void SetUp() override {
        ASSERT_TRUE(com_.ok());
        if (!cadsim_) cadsim_ = std::make_unique<StandIn>(std::vector<std::wstring>{twoLineDrawing()});
        ASSERT_TRUE(cadsim_->started()) << cadsim_->output();
        w_.main = cadsim_->waitForMainWindow();
        ASSERT_NE(w_.main, nullptr) << cadsim_->output();
        w_.document = GetWindow(w_.main, GW_CHILD);
        w_.bar = GetWindow(w_.document, GW_CHILD);
        w_.view = GetWindow(w_.bar, GW_HWNDNEXT);
        ComPtr<IUnknown> unknown;
        ASSERT_HRESULT_SUCCEEDED(createApplication(unknown));
        ASSERT_HRESULT_SUCCEEDED(unknown.query(IID_IDispatch, app_));
        doc_ = objectOf(call(app_.get(), L"ActiveDocument", DISPATCH_PROPERTYGET));
        ASSERT_TRUE(doc_);
    }

    std::vector<double> variable(const wchar_t* name) {
        const CallResult r = call(doc_.get(), L"GetVariable", DISPATCH_METHOD, {bstrVariant(name).get()});
        EXPECT_HRESULT_SUCCEEDED(r.hr) << name;
        if (V_VT(&r.value.get()) == VT_R8) return {V_R8(&r.value.get())};
        return doublesOf(r.value.get());
    }

    // SCREENSIZE's width and height (it is a point: a third element may follow).
    std::vector<double> screenSize() {
        std::vector<double> size = variable(L"SCREENSIZE");
        if (size.size() > 2) size.resize(2);
        return size;
    }

    // Where a drawing point shows in the view's client area, by VIEWCTR, VIEWSIZE and
    // SCREENSIZE alone.
    POINT pixelOf(double x, double y) {
        const auto centre = variable(L"VIEWCTR"), height = variable(L"VIEWSIZE"), size = variable(L"SCREENSIZE");
        const double k = size.at(1) / height.at(0);
        return {static_cast<LONG>(std::lround((x - centre.at(0)) * k + size.at(0) / 2)),
                static_cast<LONG>(std::lround(size.at(1) / 2 - (y - centre.at(1)) * k))};
    }

    cad::com::ComInit com_;
    static inline std::unique_ptr<StandIn> cadsim_;
    HostWindows w_{};
    ComPtr<IDispatch> app_, doc_;
};

TEST_F(CadsimWindows, LayoutIsTheOneQuillonPhotographs) {
    ASSERT_TRUE(w_.document && w_.bar && w_.view);
    EXPECT_EQ(GetWindow(w_.view, GW_HWNDNEXT), nullptr) << "the document window has exactly two children";
    const RECT main = windowRect(w_.main), doc = windowRect(w_.document), bar = windowRect(w_.bar),
               view = windowRect(w_.view);
    // Beside the companion window: it keeps clear of the right-hand part of the screen.
    EXPECT_LE(main.right, 1040);
    // The document window has no border and fills the main window's client area.
    RECT client{};
    GetClientRect(w_.main, &client);
    EXPECT_EQ(widthOf(doc), client.right);
    EXPECT_EQ(heightOf(doc), client.bottom);
    RECT docClient{};
    GetClientRect(w_.document, &docClient);
    EXPECT_EQ(docClient.right, widthOf(doc));
    EXPECT_EQ(docClient.bottom, heightOf(doc));
    // The bar is docked at the bottom edge, the view fills the whole document window.
    EXPECT_EQ(bar.left, doc.left);
    EXPECT_EQ(bar.right, doc.right);
    EXPECT_EQ(bar.bottom, doc.bottom);
    EXPECT_GE(heightOf(bar), 16);
    EXPECT_LE(heightOf(bar), 40);
    EXPECT_EQ(view.left, doc.left);
    EXPECT_EQ(view.top, doc.top);
    EXPECT_EQ(view.right, doc.right);
    EXPECT_EQ(view.bottom, doc.bottom);
    // The host reports the visible area: as wide as the view, as high as view minus bar.
    EXPECT_EQ(screenSize(), (std::vector<double>{double(widthOf(view)), double(heightOf(view) - heightOf(bar))}));
}

TEST_F(CadsimWindows, ResizingTellsTheHostTheNewVisibleArea) {
    ASSERT_TRUE(SetWindowPos(w_.main, nullptr, 0, 0, 820, 610, SWP_NOZORDER | SWP_NOACTIVATE));
    wintest::waitUntil([&] { return widthOf(windowRect(w_.main)) == 820; }, 5000);
    const RECT view = windowRect(w_.view), bar = windowRect(w_.bar);
    RECT client{};
    GetClientRect(w_.main, &client);
    EXPECT_EQ(widthOf(view), client.right);
    EXPECT_EQ(screenSize(), (std::vector<double>{double(widthOf(view)), double(heightOf(view) - heightOf(bar))}));
}

// The screen's pixels of the view's visible area, 0x00RRGGBB, row by row.
std::vector<std::uint32_t> screenPixels(const RECT& area) {
    const LONG w = widthOf(area), h = heightOf(area);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + size_t(w) * size_t(h));
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    for (auto& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

TEST_F(CadsimWindows, ViewDrawsAtTheReportedMapping) {
    ASSERT_HRESULT_SUCCEEDED(call(app_.get(), L"ZoomWindow", DISPATCH_METHOD,
                                  {pointVariant({-50, -50}).get(), pointVariant({150, 100}).get()})
                                 .hr);
    const RECT view = windowRect(w_.view), bar = windowRect(w_.bar);
    const RECT visible{view.left, view.top, view.right, view.bottom - heightOf(bar)};
    SetForegroundWindow(w_.main);
    const LONG w = widthOf(visible), h = heightOf(visible);
    std::vector<std::uint32_t> pixels;
    const auto at = [&](POINT p) { return pixels.at(size_t(p.y) * size_t(w) + size_t(p.x)); };
    const auto bright = [](std::uint32_t c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) > 450; };
    const auto lineNear = [&](POINT p) {
        for (LONG dy = -1; dy <= 1; ++dy)
            for (LONG dx = -1; dx <= 1; ++dx)
                if (bright(at({p.x + dx, p.y + dy}))) return true;
        return false;
    };
    const std::uint32_t background = 0x212830;  // RGB(33, 40, 48)

    struct Probe {
        double x, y;
        bool onLine;
        POINT pixel = {};
    };
    std::vector<Probe> probes{{50, 0, true}, {90, 0, true}, {0, 25, true}, {0, 45, true}, {50, 8, false},
                              {50, -8, false}, {8, 25, false}, {-8, 25, false}, {110, 0, false}, {0, 60, false}};
    for (Probe& probe : probes) {
        probe.pixel = pixelOf(probe.x, probe.y);
        const POINT p = probe.pixel;
        ASSERT_TRUE(p.x > 1 && p.y > 1 && p.x < w - 2 && p.y < h - 2) << probe.x << "," << probe.y;
    }
    const auto holds = [&](const Probe& probe) {
        return probe.onLine ? lineNear(probe.pixel) : at(probe.pixel) == background;
    };
    // Until the view has painted the zoomed drawing (or the time is up).
    wintest::waitUntil([&] {
        pixels = screenPixels(visible);
        return std::all_of(probes.begin(), probes.end(), holds);
    }, 5000);
    for (const Probe& probe : probes) {
        if (probe.onLine) {
            EXPECT_TRUE(lineNear(probe.pixel)) << "no line drawn at " << probe.x << "," << probe.y;
        } else {
            EXPECT_EQ(at(probe.pixel), background) << "something drawn at " << probe.x << "," << probe.y;
        }
    }
}

TEST_F(CadsimWindows, GridDotsFollowGridMode) {
    const RECT view = windowRect(w_.view), bar = windowRect(w_.bar);
    const RECT visible{view.left, view.top, view.right, view.bottom - heightOf(bar)};
    const auto nonBackground = [&] {
        size_t n = 0;
        for (std::uint32_t c : screenPixels(visible)) n += c != 0x212830;
        return n;
    };
    // The count once the view has painted: the same in two looks in a row.
    const auto settledCount = [&] {
        size_t last = SIZE_MAX, now = 0;
        wintest::waitUntil([&] {
            now = nonBackground();
            const bool same = now == last;
            last = now;
            return same;
        }, 5000, 100);
        return now;
    };
    // At least a dot every 40 pixels each way.
    const size_t dots = size_t(widthOf(visible) / 40) * size_t(heightOf(visible) / 40);
    SetForegroundWindow(w_.main);
    ASSERT_HRESULT_SUCCEEDED(
        call(doc_.get(), L"SetVariable", DISPATCH_METHOD, {bstrVariant(L"GRIDMODE").get(), i4Variant(0).get()}).hr);
    const size_t without = settledCount();
    ASSERT_HRESULT_SUCCEEDED(
        call(doc_.get(), L"SetVariable", DISPATCH_METHOD, {bstrVariant(L"GRIDMODE").get(), i4Variant(1).get()}).hr);
    size_t with = 0;
    wintest::waitUntil([&] { return (with = nonBackground()) > without + dots; }, 5000);
    EXPECT_GT(with, without + dots);
    ASSERT_HRESULT_SUCCEEDED(
        call(doc_.get(), L"SetVariable", DISPATCH_METHOD, {bstrVariant(L"GRIDMODE").get(), i4Variant(0).get()}).hr);
    size_t after = 0;
    wintest::waitUntil([&] { return (after = nonBackground()) == without; }, 5000);
    EXPECT_EQ(after, without);
}

}  // namespace
