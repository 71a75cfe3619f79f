// Program entry: the always-on-top main window beside the CAD application.
#include <windows.h>

#include "app/main_window.h"
#include "base/scope_exit.h"
#include "cad/com/busy_wait_win.h"
#include "cad/com/co_application_win.h"
#include "cad/com/com_types_win.h"
#include "cad/com/message_filter_win.h"
#include "desktop/shell_services_win.h"
#include "ui/win/dpi_win.h"
#include "ui/win/failure_barrier_win.h"
#include "ui/win/form_win.h"
#include "ui/win/widget_factory_win.h"

namespace {

int runQuillon(int show) {
    platform::enablePerMonitorDpiAwareness();
    // The monitor scale factor is looked up by name in shcore.dll; make sure it is there
    // (the program also links it, so this only takes a reference).
    LoadLibraryW(L"shcore.dll");

    // COM for the CAD link and the taskbar button, for as long as anything of ours uses it
    // (declared first, so it ends last). Without it the CAD host is simply never found.
    cad::com::ComInit com;
    platform::WinShellServices shell;
    // A busy CAD (a command running, a dialog open) rejects our calls: each is tried
    // again for up to 10 s before it fails. On Windows COM retries through this message
    // filter; under Wine the COM client does it itself (cad/com/busy_wait_win.h). While
    // a call is outstanding the filter also notes a press on a running plot's "中止",
    // which the system would not dispatch and might discard (desktop/button_press.h).
    const cad::BusyWait busyWait;
    cad::com::MessageFilterScope busyFilter(
        cad::com::busyWaitFilter(busyWait, [&shell] { shell.noteInputDuringCall(); }));
    // A failure that reaches a window procedure is told in the program's own message box.
    platform::setFailureReporter([&shell](const std::wstring& text) { shell.showMessage(text); });
    const base::ScopeExit reporterGone([] { platform::setFailureReporter(nullptr); });
    platform::WinWidgetFactory widgets;  // the dark style comes with every window it makes
    cad::com::ComCoApplication cad(busyWait);
    app::MainWindow form(widgets, shell, platform::primaryMonitorDpi());  // runs windowCreated
    form.setCadLink(cad);

    platform::FormPeer* window = platform::FormPeer::of(form.form());
    if (!window || !window->hwnd()) {
        MessageBoxW(nullptr, L"メインウィンドウを作成できません。", desktop::kAppTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    shell.setOwner(window->hwnd());
    window->onClosed = [&form] {
        form.windowDestroyed();  // writes the settings file
        PostQuitMessage(0);
    };
    window->show(show);
    return platform::runMessageLoop(window->hwnd());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    // Nothing leaves the program's entry: a failure before the window opens (the settings
    // are then neither read nor written) ends it with a word.
    try {
        return runQuillon(show);
    } catch (...) {
        MessageBoxW(nullptr, platform::unexpectedFailureText().c_str(), desktop::kAppTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
}
