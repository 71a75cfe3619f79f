#include "ui/win/failure_barrier_win.h"

#include <exception>
#include <utility>

#include "base/text_codec.h"

namespace platform {

namespace {

constexpr wchar_t kUnexpectedFailure[] = L"予期しないエラーが発生しました。";

std::function<void(const std::wstring&)>& reporter() {
    static std::function<void(const std::wstring&)> shown;
    return shown;
}

bool reporting = false;

}  // namespace

void setFailureReporter(std::function<void(const std::wstring&)> shown) { reporter() = std::move(shown); }

std::wstring unexpectedFailureText() {
    std::wstring detail;
    try {
        throw;
    } catch (const std::exception& e) {
        detail = base::fromUtf8(e.what());
    } catch (...) {
    }
    return detail.empty() ? std::wstring(kUnexpectedFailure) : std::wstring(kUnexpectedFailure) + L"\n" + detail;
}

void reportUnexpectedFailure() noexcept {
    if (reporting) return;
    reporting = true;
    try {
        const std::wstring text = unexpectedFailureText();
        if (reporter()) reporter()(text);
        else MessageBoxW(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
    } catch (...) {
        // Nothing more can be said.
    }
    reporting = false;
}

}  // namespace platform
