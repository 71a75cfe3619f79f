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

// The text of the failure being handled; call only inside a catch block. A host error
// gives the host's text; another failure, a fault of ours, kUnknownFailureText with
// what it knows.
std::wstring failureInFlightText();

// Runs `handler`; when it throws, shows the error's text with shell.showMessage.
void runReportingFailure(desktop::ShellServices& shell, const std::function<void()>& handler);

// `handler` run through runReportingFailure, as a callback of its own (a menu command).
std::function<void()> reportingFailure(desktop::ShellServices& shell, std::function<void()> handler);

}  // namespace app
