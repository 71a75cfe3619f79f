// Sizes on the previews that follow the monitor scale factor.
#pragma once

namespace base {

// Trunc(k x factor / 100), raised to `lowerBound`; factor in percent (100 at 96 dpi).
constexpr int scaledByMonitor(int k, int factor, int lowerBound) {
    const int v = static_cast<int>(static_cast<long long>(k) * factor / 100);
    return v < lowerBound ? lowerBound : v;
}

}  // namespace base
