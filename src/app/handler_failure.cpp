#include "app/handler_failure.h"

#include <exception>

#include "base/text_codec.h"
#include "cad/value.h"

namespace app {

void runReportingFailure(desktop::ShellServices& shell, const std::function<void()>& handler) {
    std::wstring text;
    try {
        handler();
        return;
    } catch (const cad::CadError& e) {
        text = e.text();
    } catch (const std::exception& e) {
        // Not the host's word but a fault of ours: said as such, with what it knows.
        text = std::wstring(kUnknownFailureText) + L"\n" + base::fromUtf8(e.what());
    } catch (...) {
    }
    shell.showMessage(text.empty() ? std::wstring(kUnknownFailureText) : text);
}

std::function<void()> reportingFailure(desktop::ShellServices& shell, std::function<void()> handler) {
    return [&shell, handler = std::move(handler)] { runReportingFailure(shell, handler); };
}

}  // namespace app
