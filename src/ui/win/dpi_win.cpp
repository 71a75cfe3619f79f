// Display scaling (see dpi_win.h).
#include "ui/win/dpi_win.h"

#include <shellscalingapi.h>

namespace platform {

void enablePerMonitorDpiAwareness() {
    // Windows 10 1703 and later; earlier systems keep what the manifest gave them.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

int primaryMonitorDpi() {
    const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0, y = 0;
    if (primary && SUCCEEDED(GetDpiForMonitor(primary, MDT_EFFECTIVE_DPI, &x, &y)) && x > 0)
        return static_cast<int>(x);
    const UINT system = GetDpiForSystem();
    return system ? static_cast<int>(system) : kDesignDpi;
}

int windowDpi(HWND window) {
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : primaryMonitorDpi();
}

int scaleToDpi(int designValue, int dpi) { return MulDiv(designValue, dpi, kDesignDpi); }

namespace {

BOOL CALLBACK takeFirstMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
    *reinterpret_cast<HMONITOR*>(found) = monitor;
    return FALSE;  // the first one is all we want
}

}  // namespace

int firstMonitorScaleFactor() {
    using ScaleQuery = HRESULT(WINAPI*)(HMONITOR, DEVICE_SCALE_FACTOR*);
    const HMODULE shcore = GetModuleHandleW(L"shcore.dll");
    if (!shcore) return 100;
    const auto query = reinterpret_cast<ScaleQuery>(
        reinterpret_cast<void*>(GetProcAddress(shcore, "GetScaleFactorForMonitor")));
    if (!query) return 100;
    HMONITOR first = nullptr;
    EnumDisplayMonitors(nullptr, nullptr, takeFirstMonitor, reinterpret_cast<LPARAM>(&first));
    if (!first) first = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    DEVICE_SCALE_FACTOR factor = DEVICE_SCALE_FACTOR_INVALID;
    if (!first || FAILED(query(first, &factor)) || factor == DEVICE_SCALE_FACTOR_INVALID) return 100;
    return static_cast<int>(factor);
}

}  // namespace platform
