// Test helper: runs quillon.exe as a user meets it. The program is copied into a fresh
// temporary folder together with a settings file of the test's choosing (the settings
// file lies beside the program, so the build folder's own is never touched), started,
// and driven through its main window with the messages a user's mouse produces. The
// scope closes the window and waits for the program to end.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <climits>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win/test_process.h"

namespace quillon_test {

inline constexpr wchar_t kMainTitle[] = L"Quillon 2.06 [ nanoCAD ]";
// Every caption of the main window at start begins so (the target CAD's name follows).
inline constexpr wchar_t kMainTitleStart[] = L"Quillon 2.06 [ ";

using wintest::waitUntil;

inline std::wstring windowText(HWND window) {
    wchar_t buffer[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &copied);
    return buffer;
}

inline std::wstring classOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

inline RECT screenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

class QuillonProcess {
public:
    // `settings` is the text of quillon.ini (section "MORVEL" and its keys).
    explicit QuillonProcess(const std::string& settings) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        static int started = 0;  // a folder of its own for each, however close in time
        folder_ = std::filesystem::path(temp) / (L"quillon-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                                 std::to_wstring(++started));
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
        std::filesystem::create_directories(folder_, error);
        const std::filesystem::path exe = folder_ / L"quillon.exe";
        if (!CopyFileW((wintest::binDir() + L"/quillon.exe").c_str(), exe.c_str(), FALSE)) {
            ADD_FAILURE() << "quillon.exe could not be copied to the test's folder (error " << GetLastError() << ")";
            return;
        }
        std::ofstream(folder_ / L"quillon.ini", std::ios::binary) << settings;
        process_ = std::make_unique<wintest::TestProcess>(exe.wstring(), std::vector<std::wstring>{},
                                                          wintest::TestProcess::Options{folder_.wstring()});
        if (!process_->started()) ADD_FAILURE() << "quillon.exe could not be started (error " << process_->startError() << ")";
    }

    ~QuillonProcess() {
        if (process_ && !process_->end()) ADD_FAILURE() << "Quillon did not end within 15 s of closing its window";
        process_.reset();
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    QuillonProcess(const QuillonProcess&) = delete;
    QuillonProcess& operator=(const QuillonProcess&) = delete;

    bool started() const { return process_ && process_->started(); }
    const std::filesystem::path& folder() const { return folder_; }

    // The visible main window, found by its title among the process's top-level
    // windows; null when it did not come in time. Kept for later calls, since a plot
    // run changes the caption.
    HWND mainWindow(DWORD ms = 30000) {
        if (!main_ && started())
            main_ = process_->waitForWindow(
                [](const std::wstring& title) { return title.rfind(kMainTitleStart, 0) == 0; }, ms);
        return main_;
    }

    // A message box of the program (captioned "Quillon 2.06") showing now or within `ms`;
    // null when none came.
    HWND messageBox(DWORD ms = 30000) {
        if (!started()) return nullptr;
        return process_->waitForWindow([](const std::wstring& title) { return title == L"Quillon 2.06"; }, ms);
    }
    // The text a message box shows.
    static std::wstring messageText(HWND box) {
        wchar_t text[2048] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 2048);  // the box's text control
        return text;
    }

    // Every visible descendant of the main window, in z-order depth first.
    std::vector<HWND> visibleControls() {
        std::vector<HWND> found;
        if (!mainWindow()) return found;
        EnumChildWindows(
            main_,
            [](HWND hwnd, LPARAM param) -> BOOL {
                if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // The one visible control showing `text` (the hidden page's controls of the same
    // caption are not visible); null when there is none or more than one.
    HWND controlWithText(const std::wstring& text) {
        HWND found = nullptr;
        for (HWND h : visibleControls()) {
            if (windowText(h) != text) continue;
            if (found) return nullptr;
            found = h;
        }
        return found;
    }

    std::vector<HWND> controlsOfClass(const std::wstring& windowClass) {
        std::vector<HWND> found;
        for (HWND h : visibleControls())
            if (_wcsicmp(classOf(h).c_str(), windowClass.c_str()) == 0) found.push_back(h);
        return found;
    }

    // The visible control of the class nearest to a point given relative to another
    // control's screen rectangle: for the fields that carry no caption of their own.
    HWND controlOfClassNear(const std::wstring& windowClass, POINT screenPoint) {
        HWND best = nullptr;
        long bestDistance = LONG_MAX;
        for (HWND h : controlsOfClass(windowClass)) {
            const RECT r = screenRect(h);
            const long dx = screenPoint.x < r.left ? r.left - screenPoint.x : screenPoint.x > r.right ? screenPoint.x - r.right : 0;
            const long dy = screenPoint.y < r.top ? r.top - screenPoint.y : screenPoint.y > r.bottom ? screenPoint.y - r.bottom : 0;
            if (dx + dy < bestDistance) {
                bestDistance = dx + dy;
                best = h;
            }
        }
        return best;
    }

    // A press of a mouse button at a point of the control's client area, with the
    // keys held, followed by its release: the messages the control gets from a click.
    static void click(HWND control, POINT at, UINT downMessage = WM_LBUTTONDOWN, WPARAM keys = 0) {
        const UINT up = downMessage == WM_RBUTTONDOWN ? WM_RBUTTONUP : downMessage == WM_MBUTTONDOWN ? WM_MBUTTONUP : WM_LBUTTONUP;
        const WPARAM held = downMessage == WM_RBUTTONDOWN ? MK_RBUTTON : downMessage == WM_MBUTTONDOWN ? MK_MBUTTON : MK_LBUTTON;
        const LPARAM where = MAKELPARAM(at.x, at.y);
        PostMessageW(control, WM_MOUSEMOVE, keys, where);
        PostMessageW(control, downMessage, keys | held, where);
        PostMessageW(control, up, keys, where);
    }
    // A left click in the middle of the control.
    static void click(HWND control) {
        RECT r{};
        GetClientRect(control, &r);
        click(control, POINT{r.right / 2, r.bottom / 2});
    }

    bool enabled(HWND control) const { return IsWindowEnabled(control) != FALSE; }

    // Closes the main window as its close box does; true when the program ended.
    bool close(DWORD ms = 20000) {
        if (!started()) return false;
        if (!process_->running()) return true;
        if (mainWindow(0)) PostMessageW(main_, WM_CLOSE, 0, 0);
        return process_->waitForExit(ms) != STILL_ACTIVE;
    }

    // The settings file as the program left it.
    std::string settingsText() const {
        std::ifstream in(folder_ / L"quillon.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path folder_;
    std::unique_ptr<wintest::TestProcess> process_;
    HWND main_ = nullptr;
};

}  // namespace quillon_test
