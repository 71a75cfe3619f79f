// The desktop services of the main window's start and end (see shell_services_win.h).
#include "platform/shell_services_win.h"

#include "platform/dpi_win.h"

namespace platform {

app::ScreenSize WinShellServices::primaryScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
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
    MessageBoxW(owned ? owner_ : nullptr, text.c_str(), app::kAppTitle,
                MB_OK | (owned ? 0 : MB_TOPMOST | MB_SETFOREGROUND));
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

}  // namespace platform
