// Shell services for the native tests: a screen of a chosen size, a program path in a
// folder of the test's own, the messages shown, CP932 through the C library, and a
// scripted desktop: windows with rectangles, children and states, a display of pixels,
// a clock that does not really sleep, a pump that runs queued test actions, and an
// in-memory canvas. What the handlers asked of the desktop is written to `log`.
#pragma once

#include <iconv.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/text_codec.h"
#include "desktop/button_press.h"
#include "desktop/shell_services.h"
#include "support/memory_canvas.h"
#include "ui/widgets.h"

namespace testing_support {

class FakeShell : public desktop::ShellServices {
public:
    desktop::ScreenSize screen{1920, 1080};
    std::wstring program;
    int scaleFactor = 100;
    std::vector<std::wstring> messages;

    struct Window {
        std::wstring title, className;
        desktop::ScreenRect rect;
        desktop::WindowHandle firstChild = 0, next = 0;
        bool iconic = false;
    };
    std::map<desktop::WindowHandle, Window> windows;
    desktop::WindowHandle foreground = 0;
    bool mainMinimised = false;
    // The display's pixels, black until a test draws on them (made on first use: most
    // tests never look, and thousands of windows are made in some).
    ui::PixelBitmap& displayPixels() {
        if (!display) display = std::make_shared<ui::PixelBitmap>(1920, 1080);
        return *display;
    }
    std::shared_ptr<ui::PixelBitmap> display;
    bool failScreenCopy = false;
    bool failWindowLookups = false;  // asking for a top-level window throws
    std::vector<std::string> log;  // "sleep 500", "minimise main", "copy 10,20 300x200", ...
    int sleptMs = 0;
    std::pair<int, int> taskbarProgress{0, 0};  // done, total
    std::deque<std::function<void()>> queued;  // run by the next processMessages
    std::vector<app::TextMark> texts;          // every text drawn on any bitmap

    desktop::ScreenSize primaryScreenSize() override { return screen; }
    // The work area: the whole screen unless a test sets one.
    std::optional<desktop::ScreenRect> workArea;
    desktop::ScreenRect primaryWorkArea() override { return workArea.value_or(desktop::ScreenRect{0, 0, screen.width, screen.height}); }
    bool isWindow(desktop::WindowHandle h) override { return windows.count(h) > 0; }
    std::wstring programPath() override { return program; }
    void showMessage(const std::wstring& text) override { messages.push_back(text); }
    // Questions asked, each answered with `answerYes`.
    std::vector<std::wstring> questions;
    bool answerYes = false;
    bool askYesNo(const std::wstring& text) override {
        questions.push_back(text);
        return answerYes;
    }
    // Files and folders: those of the real file system (the stand-in in process writes
    // there), and besides them the paths a test says exist and the folders it says
    // cannot be made.
    std::set<std::wstring> paths;
    std::set<std::wstring> unmakeableFolders;
    std::wstring documents = L"C:\\Users\\cad\\Documents";
    std::vector<std::wstring> openedFolders;
    std::wstring today = L"20261211";
    bool pathExists(const std::wstring& path) override {
        std::error_code error;
        return paths.count(path) > 0 || std::filesystem::exists(std::filesystem::path(path), error);
    }
    bool makeFolder(const std::wstring& path) override {
        if (unmakeableFolders.count(path)) return false;
        log.push_back("make folder");
        paths.insert(path);
        std::error_code error;
        if (!path.empty() && path[0] == L'/') std::filesystem::create_directories(std::filesystem::path(path), error);
        return true;
    }
    std::wstring documentsFolder() override { return documents; }
    void openFolder(const std::wstring& path) override { openedFolders.push_back(path); }
    std::wstring localDate() override { return today; }
    int monitorScaleFactor() override { return scaleFactor; }
    std::wstring decodeAnsi(std::string_view bytes) override {
        return base::fromUtf8(iconvBytes(bytes, "UTF-8", "CP932"));
    }

    bool topLevelWindowExists(std::wstring_view title) override {
        if (failWindowLookups) throw std::runtime_error("the window list cannot be read");
        for (const auto& [handle, w] : windows)
            if (w.title == title) return true;
        return false;
    }
    bool topLevelWindowTitleBegins(std::wstring_view prefix) override {
        if (failWindowLookups) throw std::runtime_error("the window list cannot be read");
        for (const auto& [handle, w] : windows)
            if (std::wstring_view(w.title).substr(0, prefix.size()) == prefix) return true;
        return false;
    }
    desktop::WindowHandle findWindowByClass(std::wstring_view className) override {
        for (const auto& [handle, w] : windows)
            if (w.className == className) return handle;
        return 0;
    }
    desktop::ScreenRect windowRect(desktop::WindowHandle h) override {
        auto it = windows.find(h);
        return it == windows.end() ? desktop::ScreenRect{} : it->second.rect;
    }
    // A window's client area: its entry here, else its whole rectangle (no border).
    std::map<desktop::WindowHandle, desktop::ScreenRect> clientRects;
    desktop::ScreenRect clientRect(desktop::WindowHandle h) override {
        if (auto it = clientRects.find(h); it != clientRects.end()) return it->second;
        return windowRect(h);
    }
    desktop::WindowHandle firstChild(desktop::WindowHandle h) override {
        auto it = windows.find(h);
        return it == windows.end() ? 0 : it->second.firstChild;
    }
    desktop::WindowHandle nextSibling(desktop::WindowHandle h) override {
        auto it = windows.find(h);
        return it == windows.end() ? 0 : it->second.next;
    }
    bool isIconic(desktop::WindowHandle h) override {
        auto it = windows.find(h);
        return it != windows.end() && it->second.iconic;
    }
    void restoreWindow(desktop::WindowHandle h) override {
        log.push_back("restore " + std::to_string(h));
        if (auto it = windows.find(h); it != windows.end()) it->second.iconic = false;
    }
    void bringToForeground(desktop::WindowHandle h) override {
        log.push_back("foreground " + std::to_string(h));
        foreground = h;
    }
    desktop::WindowHandle foregroundWindow() override { return foreground; }
    void minimiseMainWindow() override {
        log.push_back("minimise main");
        mainMinimised = true;
    }
    void restoreMainWindow() override {
        log.push_back("restore main");
        mainMinimised = false;
    }
    void setTaskbarProgress(int done, int total) override {
        log.push_back("progress " + std::to_string(done) + "/" + std::to_string(total));
        taskbarProgress = {done, total};
    }
    void sleep(int ms) override {
        log.push_back("sleep " + std::to_string(ms));
        sleptMs += ms;
    }
    void processMessages() override {
        log.push_back("pump");
        std::deque<std::function<void()>> now;
        now.swap(queued);
        for (auto& action : now) action();
    }
    void pressEscapeKey() override { log.push_back("escape"); }

    // Presses during a call to the CAD: the button watched, and what was noted.
    const ui::Button* watchedDuringCalls = nullptr;
    bool pressedDuringCall = false;
    void watchPressesDuringCalls(const ui::Button* button) override {
        watchedDuringCalls = button;
        pressedDuringCall = false;
    }
    bool takePressDuringCall() override { return std::exchange(pressedDuringCall, false); }
    // A message for the watched button that arrives while a call is outstanding, as the
    // message filter sees it; the system then discards it, so the button never gets it.
    void inputDuringCall(const desktop::QueuedInput& input) {
        if (watchedDuringCalls &&
            desktop::pressesButton(input, {watchedDuringCalls->width(), watchedDuringCalls->height(),
                                           watchedDuringCalls->enabled()}))
            pressedDuringCall = true;
    }

    std::shared_ptr<ui::PixelBitmap> copyScreen(const desktop::ScreenRect& area) override {
        log.push_back("copy " + std::to_string(area.left) + "," + std::to_string(area.top) + " " +
                      std::to_string(area.width()) + "x" + std::to_string(area.height()));
        if (failScreenCopy) throw desktop::GraphicsError("the screen copy failed");
        auto out = std::make_shared<ui::PixelBitmap>(area.width(), area.height());
        for (int y = 0; y < out->height(); ++y)
            for (int x = 0; x < out->width(); ++x) {
                const int sx = area.left + x, sy = area.top + y;
                if (display && sx >= 0 && sy >= 0 && sx < display->width() && sy < display->height())
                    out->at(x, y) = display->at(sx, sy);
            }
        return out;
    }
    // Each target pixel is the OR of the source pixels that fall on it.
    std::shared_ptr<ui::PixelBitmap> shrinkWhiteOnBlack(const ui::PixelBitmap& source, int width, int height) override {
        log.push_back("shrink " + std::to_string(width) + "x" + std::to_string(height));
        auto out = std::make_shared<ui::PixelBitmap>(width, height);
        const int sw = source.width(), sh = source.height();
        if (sw <= 0 || sh <= 0) return out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int x0 = x * sw / width, x1 = std::max(x0 + 1, (x + 1) * sw / width);
                const int y0 = y * sh / height, y1 = std::max(y0 + 1, (y + 1) * sh / height);
                std::uint32_t v = 0;
                for (int sy = y0; sy < y1; ++sy)
                    for (int sx = x0; sx < x1; ++sx) v |= source.at(sx, sy);
                out->at(x, y) = v;
            }
        return out;
    }
    std::unique_ptr<desktop::Canvas> openCanvas(ui::PixelBitmap& target) override {
        return std::make_unique<app::MemoryCanvas>(target, texts);
    }
    // The texts drawn on `bitmap` that are still there.
    std::vector<app::TextMark> textsOn(const ui::Picture* bitmap) const {
        std::vector<app::TextMark> out;
        for (const auto& t : texts)
            if (t.bitmap == bitmap) out.push_back(t);
        return out;
    }

    static std::string encodeCp932(const std::wstring& text) {
        return iconvBytes(base::toUtf8(text), "CP932", "UTF-8");
    }

private:
    static std::string iconvBytes(std::string_view in, const char* to, const char* from) {
        std::string out(in.size() * 4 + 16, '\0');
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1)) return {};
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        iconv_close(cd);
        out.resize(out.size() - dstLeft);
        return out;
    }
};

}  // namespace testing_support
