#include "app/handler_failure.h"

#include <exception>

#include "app/text_codec.h"
#include "cad/value.h"

namespace app {

void runReportingFailure(ShellServices& shell, const std::function<void()>& handler) {
    std::wstring text;
    try {
        handler();
        return;
    } catch (const cad::CadError& e) {
        text = e.text();
    } catch (const std::exception& e) {
        text = fromUtf8(e.what());
    } catch (...) {
    }
    shell.showMessage(text.empty() ? std::wstring(kUnknownFailureText) : text);
}

}  // namespace app
