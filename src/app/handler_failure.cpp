#include "app/handler_failure.h"

#include <exception>

#include "base/text_codec.h"
#include "cad/value.h"

namespace app {

std::wstring failureInFlightText() {
    std::wstring text;
    try {
        throw;
    } catch (const cad::CadError& e) {
        text = e.text();
    } catch (const std::exception& e) {
        text = std::wstring(kUnknownFailureText) + L"\n" + base::fromUtf8(e.what());
    } catch (...) {
    }
    return text.empty() ? std::wstring(kUnknownFailureText) : text;
}

void runReportingFailure(desktop::ShellServices& shell, const std::function<void()>& handler) {
    std::wstring text;
    try {
        handler();
        return;
    } catch (...) {
        text = failureInFlightText();
    }
    shell.showMessage(text);
}

std::function<void()> reportingFailure(desktop::ShellServices& shell, std::function<void()> handler) {
    return [&shell, handler = std::move(handler)] { runReportingFailure(shell, handler); };
}

}  // namespace app
