#include "cad/busy_wait.h"

#include <algorithm>

namespace cad {
namespace {

constexpr BusyWait::Milliseconds kShortestWait{100};  // RetryRejectedCall retries at once below 100
constexpr BusyWait::Milliseconds kLongestWait{400};

// Seconds with at most one decimal: "10", "0.5", "2.5".
std::wstring seconds(BusyWait::Milliseconds ms) {
    const long long tenths = (std::max<long long>(ms.count(), 0) + 50) / 100;
    std::wstring text = std::to_wstring(tenths / 10);
    if (tenths % 10 != 0) text += L"." + std::to_wstring(tenths % 10);
    return text;
}

}  // namespace

bool isBusyResult(std::int32_t result) { return result == kCallRejected || result == kServerCallRetryLater; }

std::optional<BusyWait::Milliseconds> BusyWait::nextWait(Milliseconds elapsed) const {
    if (elapsed >= deadline) return std::nullopt;
    return std::min(std::clamp(elapsed, kShortestWait, kLongestWait), deadline - elapsed);
}

std::wstring BusyWait::gaveUpText(std::wstring_view member) const {
    return std::wstring(member) + L": CAD が処理中のため、" + seconds(deadline) +
           L" 秒待っても呼び出しを受け付けませんでした。CAD で実行中のコマンドや開いているダイアログを終えてから、"
           L"もう一度操作してください。";
}

}  // namespace cad
