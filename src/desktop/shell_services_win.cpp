// The desktop services on Win32 (see shell_services_win.h).
#include "desktop/shell_services_win.h"

#include <shlobj.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "cad/com/co_application_win.h"
#include "desktop/button_press.h"
#include "desktop/canvas_win.h"
#include "desktop/dib_win.h"
#include "ui/win/dpi_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

HWND hwndOf(desktop::WindowHandle window) { return reinterpret_cast<HWND>(window); }
desktop::WindowHandle handleOf(HWND window) { return reinterpret_cast<desktop::WindowHandle>(window); }

// BitBlt's raster operation that also copies layered windows.
constexpr DWORD kCopyWithLayered = SRCCOPY | CAPTUREBLT;  // 0x40CC0020

}  // namespace

desktop::ScreenSize WinShellServices::primaryScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

desktop::ScreenRect WinShellServices::primaryWorkArea() {
    RECT r{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
        const desktop::ScreenSize screen = primaryScreenSize();
        return {0, 0, screen.width, screen.height};
    }
    return {r.left, r.top, r.right, r.bottom};
}

std::wstring WinShellServices::programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try a longer buffer
    }
}

void WinShellServices::showMessage(const std::wstring& text) {
    // Before the window shows, and while it goes away, the box stands on its own, on top
    // like the window it speaks for.
    const bool owned = owner_ && IsWindow(owner_) && IsWindowVisible(owner_);
    MessageBoxW(owned ? owner_ : nullptr, text.c_str(), desktop::kAppTitle,
                MB_OK | (owned ? 0 : MB_TOPMOST | MB_SETFOREGROUND));
}

bool WinShellServices::askYesNo(const std::wstring& text) {
    const bool owned = owner_ && IsWindow(owner_) && IsWindowVisible(owner_);
    return MessageBoxW(owned ? owner_ : nullptr, text.c_str(), desktop::kAppTitle,
                       MB_YESNO | MB_ICONQUESTION | (owned ? 0 : MB_TOPMOST | MB_SETFOREGROUND)) == IDYES;
}

bool WinShellServices::pathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WinShellServices::makeFolder(const std::wstring& path) {
    SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);  // its answer is checked below
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WinShellServices::documentsFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

void WinShellServices::openFolder(const std::wstring& path) {
    ShellExecuteW(owner_, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::wstring WinShellServices::localDate() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[16] = {};
    swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

int WinShellServices::monitorScaleFactor() { return firstMonitorScaleFactor(); }

std::wstring WinShellServices::decodeAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    return text;
}

// ---- other programs' windows

bool WinShellServices::topLevelWindowExists(std::wstring_view title) {
    return FindWindowW(nullptr, std::wstring(title).c_str()) != nullptr;
}

bool WinShellServices::topLevelWindowTitleBegins(std::wstring_view prefix) {
    return cad::com::topLevelWindowWithTitlePrefix(prefix);
}

desktop::WindowHandle WinShellServices::findWindowByClass(std::wstring_view className) {
    return handleOf(FindWindowW(std::wstring(className).c_str(), nullptr));
}

bool WinShellServices::isWindow(desktop::WindowHandle window) {
    return window != 0 && IsWindow(hwndOf(window));
}

desktop::ScreenRect WinShellServices::windowRect(desktop::WindowHandle window) {
    RECT r{};
    if (!window || !IsWindow(hwndOf(window)) || !GetWindowRect(hwndOf(window), &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

desktop::ScreenRect WinShellServices::clientRect(desktop::WindowHandle window) {
    RECT r{};
    if (!window || !IsWindow(hwndOf(window)) || !GetClientRect(hwndOf(window), &r)) return {};
    POINT corner{0, 0};
    if (!ClientToScreen(hwndOf(window), &corner)) return {};
    return {corner.x, corner.y, corner.x + r.right, corner.y + r.bottom};
}

desktop::WindowHandle WinShellServices::firstChild(desktop::WindowHandle window) {
    return window ? handleOf(GetWindow(hwndOf(window), GW_CHILD)) : 0;
}

desktop::WindowHandle WinShellServices::nextSibling(desktop::WindowHandle window) {
    return window ? handleOf(GetWindow(hwndOf(window), GW_HWNDNEXT)) : 0;
}

bool WinShellServices::isIconic(desktop::WindowHandle window) { return window && IsIconic(hwndOf(window)); }

void WinShellServices::restoreWindow(desktop::WindowHandle window) {
    if (window) ShowWindow(hwndOf(window), SW_RESTORE);
}

void WinShellServices::bringToForeground(desktop::WindowHandle window) {
    if (window) SetForegroundWindow(hwndOf(window));
}

desktop::WindowHandle WinShellServices::foregroundWindow() { return handleOf(GetForegroundWindow()); }

// ---- the main window

void WinShellServices::minimiseMainWindow() {
    if (owner_) ShowWindow(owner_, SW_MINIMIZE);
}

void WinShellServices::restoreMainWindow() {
    // Normal, not minimised or maximised; a window already normal stays where it is.
    if (owner_) ShowWindow(owner_, SW_SHOWNORMAL);
}

void WinShellServices::setTaskbarProgress(int done, int total) {
    if (!owner_) return;
    if (!taskbar_ && !taskbarTried_) {
        taskbarTried_ = true;
        cad::com::ComPtr<ITaskbarList3> taskbar;
        if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                       taskbar.putVoid())) &&
            SUCCEEDED(taskbar->HrInit()))
            taskbar_ = std::move(taskbar);
    }
    if (!taskbar_) return;
    if (total <= 0) {
        taskbar_->SetProgressState(owner_, TBPF_NOPROGRESS);
        return;
    }
    taskbar_->SetProgressState(owner_, TBPF_NORMAL);
    taskbar_->SetProgressValue(owner_, static_cast<ULONGLONG>(std::clamp(done, 0, total)),
                               static_cast<ULONGLONG>(total));
}

// ---- time and input

void WinShellServices::sleep(int milliseconds) { Sleep(static_cast<DWORD>(std::max(milliseconds, 0))); }

void WinShellServices::processMessages() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Not ours to take: the message loop that runs after us must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (owner_ && IsWindow(owner_) && IsDialogMessageW(owner_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void WinShellServices::pressEscapeKey() {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_ESCAPE;
        key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

// ---- presses made while a call to the CAD is outstanding

void WinShellServices::watchPressesDuringCalls(const ui::Button* button) {
    watched_ = button;
    pressedDuringCall_ = false;
}

bool WinShellServices::takePressDuringCall() {
    const bool pressed = pressedDuringCall_;
    pressedDuringCall_ = false;
    return pressed;
}

void WinShellServices::noteInputDuringCall() {
    const PeerWin* peer = watched_ ? PeerWin::of(*watched_) : nullptr;
    const HWND button = peer ? peer->hwnd() : nullptr;
    if (!button || pressedDuringCall_) return;
    RECT client{};
    GetClientRect(button, &client);
    const desktop::ButtonState state{client.right, client.bottom, IsWindowEnabled(button) != FALSE};
    // The first message of each kind for the button, left in the queue: dispatched after
    // the call, should the system keep it, it finds the run already stopping.
    struct Kind {
        UINT message;
        desktop::QueuedInput::Kind kind;
    };
    for (const Kind k : {Kind{WM_LBUTTONUP, desktop::QueuedInput::Kind::LeftButtonUp},
                         Kind{WM_KEYDOWN, desktop::QueuedInput::Kind::KeyDown},
                         Kind{WM_KEYUP, desktop::QueuedInput::Kind::KeyUp}}) {
        MSG msg{};
        if (!PeekMessageW(&msg, button, k.message, k.message, PM_NOREMOVE | PM_NOYIELD)) continue;
        desktop::QueuedInput input;
        input.kind = k.kind;
        input.x = GET_X_LPARAM(msg.lParam);
        input.y = GET_Y_LPARAM(msg.lParam);
        input.key = static_cast<int>(msg.wParam);
        if (desktop::pressesButton(input, state)) pressedDuringCall_ = true;
    }
}

// ---- graphics

std::shared_ptr<ui::PixelBitmap> WinShellServices::copyScreen(const desktop::ScreenRect& area) {
    DisplayDc screen;
    DibSection copy(area.width(), area.height());
    if (!BitBlt(copy.dc(), 0, 0, area.width(), area.height(), screen.get(), area.left, area.top, kCopyWithLayered))
        throw desktop::GraphicsError("画面をコピーできません (エラー " + std::to_string(GetLastError()) + ")");
    return copy.toBitmap();
}

std::shared_ptr<ui::PixelBitmap> WinShellServices::shrinkWhiteOnBlack(const ui::PixelBitmap& source, int width,
                                                                        int height) {
    DibSection from(source.width(), source.height());
    from.load(source.pixels());
    DibSection to(width, height);
    SetStretchBltMode(to.dc(), WHITEONBLACK);
    if (!StretchBlt(to.dc(), 0, 0, width, height, from.dc(), 0, 0, source.width(), source.height(), SRCCOPY))
        throw desktop::GraphicsError("画像を縮小できません (エラー " + std::to_string(GetLastError()) + ")");
    return to.toBitmap();
}

std::unique_ptr<desktop::Canvas> WinShellServices::openCanvas(ui::PixelBitmap& target) {
    return std::make_unique<GdiCanvas>(target);
}

}  // namespace platform
