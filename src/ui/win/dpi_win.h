// Display scaling: per-monitor awareness, the dpi of a monitor, design sizes to device
// pixels, and the scale factor of the first monitor.
#pragma once

#include <windows.h>

namespace platform {

inline constexpr int kDesignDpi = 96;

// Declares the process per-monitor dpi aware (version 2) at run time as well; the
// manifest says the same. Failure (an older system, or already set) is ignored.
void enablePerMonitorDpiAwareness();

// The dpi of the primary monitor, where the main window opens; 96 when unknown.
int primaryMonitorDpi();

// The dpi of a window's monitor as the window sees it; 96 when unknown.
int windowDpi(HWND window);

// A design value (pixels at 96 dpi) in device pixels at `dpi`, rounded.
int scaleToDpi(int designValue, int dpi);

// The scale factor of the first monitor in the screen's monitor list, in percent (100 at
// 96 dpi), from GetScaleFactorForMonitor of the loaded shcore.dll; 100 when the function,
// the module or the monitor cannot be had.
int firstMonitorScaleFactor();

}  // namespace platform
