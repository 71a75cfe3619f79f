// The Win32 desktop services under Wine: the screen copy reads what our own window shows,
// the white-on-black reduction keeps thin light lines, the GDI canvas draws the colours,
// text and copies it is asked for, and the window services see our own windows as they are.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "desktop/canvas.h"
#include "desktop/shell_services_win.h"
#include "tests/win/test_process.h"
#include "ui/pixel_bitmap.h"

namespace {

using ui::PixelBitmap;
using desktop::rgb;

constexpr wchar_t kTestClass[] = L"QuillonDesktopTest";
constexpr std::uint32_t kLeftColour = rgb(10, 200, 30), kRightColour = rgb(250, 40, 90);

std::intptr_t lastAppMessage = 0;  // the lParam of the last WM_APP a test window received
std::vector<std::pair<UINT, WPARAM>> keyMessages;  // the key messages test windows received, in order

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        // The left half in one colour, the right half in another.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        RECT left = client, right = client;
        left.right = right.left = client.right / 2;
        for (auto [r, c] : {std::pair{left, kLeftColour}, std::pair{right, kRightColour}}) {
            HBRUSH brush = CreateSolidBrush(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &ps);
        return 0;
    }
    case WM_APP:
        lastAppMessage = lParam;
        return 0;
    case WM_KEYDOWN: case WM_KEYUP:
        keyMessages.push_back({message, wParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window of our own, destroyed with the scope.
class TestWindow {
public:
    // A top-level window is a bare popup unless given another style.
    TestWindow(const RECT& at, HWND parent = nullptr, const wchar_t* title = L"", DWORD topLevelStyle = WS_POPUP) {
        static const ATOM registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = testWindowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = kTestClass;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            return RegisterClassW(&wc);
        }();
        EXPECT_NE(registered, 0);
        const DWORD style = parent ? WS_CHILD | WS_VISIBLE : topLevelStyle | WS_VISIBLE;
        window_ = CreateWindowExW(parent ? 0 : WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTestClass, title, style, at.left,
                                  at.top, at.right - at.left, at.bottom - at.top, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(window_, nullptr);
        UpdateWindow(window_);
    }
    ~TestWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND hwnd() const { return window_; }
    desktop::WindowHandle handle() const { return reinterpret_cast<desktop::WindowHandle>(window_); }

private:
    HWND window_ = nullptr;
};

// ---- screen copy

TEST(DesktopScreen, CopyReturnsWhatOurWindowShowsAtItsPlace) {
    platform::WinShellServices shell;
    TestWindow window({100, 120, 300, 220});  // 200 x 100: left half 0 ... 99, right half 100 ... 199
    const desktop::ScreenRect area{150, 130, 250, 180};  // straddles the halves' border at x = 200
    std::shared_ptr<PixelBitmap> copy;
    wintest::waitUntil([&] {  // until the display shows the window
        shell.processMessages();
        copy = shell.copyScreen(area);
        return copy->at(0, 0) == kLeftColour && copy->at(99, 49) == kRightColour;
    }, 3000);
    ASSERT_EQ(copy->width(), 100);
    ASSERT_EQ(copy->height(), 50);
    for (int y : {0, 49}) {
        EXPECT_EQ(copy->at(0, y), kLeftColour) << y;
        EXPECT_EQ(copy->at(49, y), kLeftColour) << y;
        EXPECT_EQ(copy->at(50, y), kRightColour) << y;
        EXPECT_EQ(copy->at(99, y), kRightColour) << y;
    }
}

TEST(DesktopScreen, EmptyAreaIsAGraphicsError) {
    platform::WinShellServices shell;
    EXPECT_THROW(shell.copyScreen({10, 10, 10, 40}), desktop::GraphicsError);
}

// ---- reduction

TEST(DesktopScreen, WhiteOnBlackReductionKeepsOnePixelLines) {
    platform::WinShellServices shell;
    // One-pixel white lines at column 13 and row 30: a reduction by 4 that only samples
    // every fourth pixel (columns and rows 0, 4, 8, 12, 16, ...) would lose both.
    PixelBitmap source(64, 64, 0);
    for (int i = 0; i < 64; ++i) source.at(13, i) = source.at(i, 30) = 0xFFFFFF;
    const std::shared_ptr<PixelBitmap> small = shell.shrinkWhiteOnBlack(source, 16, 16);
    ASSERT_EQ(small->width(), 16);
    ASSERT_EQ(small->height(), 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(small->at(x, y), x == 3 || y == 7 ? 0xFFFFFFu : 0u) << x << "," << y;
}

// ---- canvas

constexpr std::uint32_t kGround = rgb(32, 32, 32);

TEST(DesktopCanvas, WideLineHasExactlyThePenColour) {
    platform::WinShellServices shell;
    PixelBitmap bitmap(40, 40, kGround);
    {
        auto canvas = shell.openCanvas(bitmap);
        canvas->setPen(desktop::kSelectionColour, 3);  // RGB(255, 100, 100): red and blue differ
        canvas->moveTo(5, 20);
        canvas->lineTo(35, 20);
    }
    for (int y : {19, 20, 21}) EXPECT_EQ(bitmap.at(20, y), rgb(255, 100, 100)) << y;
    for (int y : {17, 23}) EXPECT_EQ(bitmap.at(20, y), kGround) << y;
    EXPECT_EQ(bitmap.at(2, 20), kGround);
}

TEST(DesktopCanvas, TextStaysInsideItsCell) {
    platform::WinShellServices shell;
    PixelBitmap bitmap(200, 80, 0);
    const int x = 50, y = 20, cell = 30;
    int width = 0;
    {
        auto canvas = shell.openCanvas(bitmap);
        canvas->setFont(cell, desktop::kSelectionColour);
        width = canvas->textWidth(L"12");
        canvas->textOut(x, y, L"12");
    }
    ASSERT_GT(width, 0);
    int top = 80, bottom = -1, exact = 0;
    for (int py = 0; py < 80; ++py)
        for (int px = 0; px < 200; ++px) {
            if (bitmap.at(px, py) == 0) continue;
            EXPECT_TRUE(px >= x && px < x + width && py >= y && py < y + cell) << px << "," << py;
            top = std::min(top, py);
            bottom = std::max(bottom, py);
            exact += bitmap.at(px, py) == desktop::kSelectionColour;
        }
    EXPECT_GT(exact, 0);                    // the text colour itself, not its red and blue swapped
    EXPECT_GE(bottom - top + 1, cell / 2);  // digits as high as a 30-pixel cell makes them
}

TEST(DesktopCanvas, CopyRectRestoresExactlyTheBoxOverWhatWasDrawn) {
    platform::WinShellServices shell;
    PixelBitmap clean(30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) clean.at(x, y) = rgb(x * 8, y * 8, 77);
    PixelBitmap bitmap(30, 30, kGround);
    {
        auto canvas = shell.openCanvas(bitmap);
        canvas->setPen(desktop::kOutlineColour, 1);
        canvas->moveTo(0, 10);
        canvas->lineTo(30, 10);  // drawn first; the copy must land on top of it
        canvas->copyRect(clean, 5, 7, 12, 20);
        canvas->copyRect(clean, 25, 25, 40, 40);  // hangs over the edge: only 25 ... 29 copied
        canvas->copyRect(clean, 20, 5, 20, 9);    // empty
    }
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool copied = (x >= 5 && x < 12 && y >= 7 && y < 20) || (x >= 25 && y >= 25);
            const std::uint32_t want = copied ? clean.at(x, y) : y == 10 ? desktop::kOutlineColour : kGround;
            EXPECT_EQ(bitmap.at(x, y), want) << x << "," << y;
        }
}

// ---- windows

TEST(DesktopWindows, RectChildrenAndIconicStateOfOurOwnWindows) {
    platform::WinShellServices shell;
    TestWindow parent({40, 50, 340, 250}, nullptr, L"Quillon desktop test parent");
    TestWindow first({0, 0, 50, 20}, parent.hwnd()), second({0, 30, 50, 50}, parent.hwnd());

    EXPECT_EQ(shell.windowRect(parent.handle()), (desktop::ScreenRect{40, 50, 340, 250}));
    EXPECT_EQ(shell.windowRect(second.handle()), (desktop::ScreenRect{40, 80, 90, 100}));
    EXPECT_TRUE(shell.topLevelWindowExists(L"Quillon desktop test parent"));
    EXPECT_EQ(shell.findWindowByClass(kTestClass), parent.handle());

    EXPECT_EQ(shell.firstChild(parent.handle()), first.handle());
    EXPECT_EQ(shell.nextSibling(first.handle()), second.handle());
    EXPECT_EQ(shell.nextSibling(second.handle()), 0);
    EXPECT_EQ(shell.firstChild(first.handle()), 0);

    EXPECT_FALSE(shell.isIconic(parent.handle()));
    ShowWindow(parent.hwnd(), SW_MINIMIZE);
    EXPECT_TRUE(shell.isIconic(parent.handle()));
    shell.restoreWindow(parent.handle());
    EXPECT_FALSE(shell.isIconic(parent.handle()));
    EXPECT_EQ(shell.windowRect(parent.handle()), (desktop::ScreenRect{40, 50, 340, 250}));

    // The same window as the main window.
    shell.setOwner(parent.hwnd());
    shell.minimiseMainWindow();
    EXPECT_TRUE(shell.isIconic(parent.handle()));
    shell.restoreMainWindow();
    EXPECT_FALSE(shell.isIconic(parent.handle()));
    shell.restoreMainWindow();  // already normal: stays where it is
    EXPECT_EQ(shell.windowRect(parent.handle()), (desktop::ScreenRect{40, 50, 340, 250}));

    const desktop::WindowHandle gone = first.handle();
    DestroyWindow(first.hwnd());
    EXPECT_EQ(shell.windowRect(gone), desktop::ScreenRect{});
    EXPECT_EQ(shell.windowRect(0), desktop::ScreenRect{});
}

TEST(DesktopWindows, MessagePumpRunsWhatIsQueuedAndLeavesTheQuitMessage) {
    platform::WinShellServices shell;
    TestWindow window({0, 0, 20, 20});
    lastAppMessage = 0;
    PostMessageW(window.hwnd(), WM_APP, 0, 4711);
    PostQuitMessage(7);
    shell.processMessages();
    EXPECT_EQ(lastAppMessage, 4711);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // still there for the main loop
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(DesktopWindows, ClientRectIsTheClientAreaOnTheScreen) {
    platform::WinShellServices shell;
    // A framed window whose client area is 300 x 200, with a child at (10, 20) in it.
    RECT outer{80, 90, 380, 290};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    TestWindow framed(outer, nullptr, L"Quillon desktop test frame", WS_OVERLAPPEDWINDOW);
    TestWindow child({10, 20, 60, 50}, framed.hwnd());
    ASSERT_TRUE(UpdateWindow(framed.hwnd()));

    const desktop::ScreenRect window = shell.windowRect(framed.handle()), inner = shell.windowRect(child.handle());
    const desktop::ScreenRect client = shell.clientRect(framed.handle());
    EXPECT_EQ(client, (desktop::ScreenRect{inner.left - 10, inner.top - 20, inner.left - 10 + 300, inner.top - 20 + 200}));
    EXPECT_GT(client.top, window.top);  // the caption lies above the client area, not in it
    EXPECT_EQ(shell.clientRect(child.handle()), inner);  // no frame: all client

    // The screen shows the window's painting exactly there: left half, then right half.
    const auto shot = shell.copyScreen(client);
    ASSERT_EQ(shot->width(), 300);
    ASSERT_EQ(shot->height(), 200);
    EXPECT_EQ(shot->at(0, 199), kLeftColour);
    EXPECT_EQ(shot->at(149, 0), kLeftColour);
    EXPECT_EQ(shot->at(150, 199), kRightColour);
    EXPECT_EQ(shot->at(299, 0), kRightColour);

    const desktop::WindowHandle gone = child.handle();
    DestroyWindow(child.hwnd());
    EXPECT_EQ(shell.clientRect(gone), desktop::ScreenRect{});
    EXPECT_EQ(shell.clientRect(0), desktop::ScreenRect{});
}

TEST(DesktopWindows, EscapePressReachesTheFocusedWindow) {
    platform::WinShellServices shell;
    TestWindow window({200, 200, 260, 240}, nullptr, L"Quillon desktop test keys", WS_OVERLAPPEDWINDOW);
    SetForegroundWindow(window.hwnd());
    SetFocus(window.hwnd());
    ASSERT_EQ(GetFocus(), window.hwnd());
    shell.processMessages();
    keyMessages.clear();

    shell.pressEscapeKey();
    const std::vector<std::pair<UINT, WPARAM>> want = {{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}};
    wintest::waitUntil([&] {
        shell.processMessages();
        return keyMessages.size() >= want.size();
    }, 2000);
    EXPECT_EQ(keyMessages, want);
    EXPECT_GE(GetKeyState(VK_ESCAPE), 0);  // released again
}

}  // namespace
