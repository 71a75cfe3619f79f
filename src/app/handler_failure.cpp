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
        text = base::fromUtf8(e.what());
    } catch (...) {
    }
    shell.showMessage(text.empty() ? std::wstring(kUnknownFailureText) : text);
}

}  // namespace app
