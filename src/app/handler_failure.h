// The default report of a failure that an event handler lets out: the handler ends and
// the user sees the error's text in a message box. Every handler bound to a control runs
// through it, so no failure ever leaves the window's event dispatch.
#pragma once

#include <functional>
#include <string>

#include "desktop/shell_services.h"

namespace app {

// Shown for a failure that carries no text of its own.
inline constexpr wchar_t kUnknownFailureText[] = L"不明なエラーが発生しました。";

// Runs `handler`; when it throws, shows the error's text with shell.showMessage.
void runReportingFailure(desktop::ShellServices& shell, const std::function<void()>& handler);

// `handler` run through runReportingFailure, as a callback of its own (a menu command).
std::function<void()> reportingFailure(desktop::ShellServices& shell, std::function<void()> handler);

}  // namespace app
