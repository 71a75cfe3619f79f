// cadsim.exe: the CAD stand-in. Reads its command line and drawing, registers the type
// library, shows the "nanoCAD 5" window (or the window of the CAD it poses as) and serves
// the application object through COM until the window is closed.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cad/com/com_types_win.h"
#include "cad/com/message_filter_win.h"
#include "sim/model/command_line.h"
#include "sim/model/drawing.h"
#include "sim/model/host.h"
#include "sim/win/busy_host_win.h"
#include "sim/win/class_factory_win.h"
#include "sim/win/com_object_win.h"
#include "sim/win/frame_window_win.h"
#include "sim/win/layer_styles.h"
#include "sim/win/pose_win.h"
#include "sim/win/report_win.h"
#include "sim/win/typelib_win.h"

namespace {

constexpr int kExitOk = 0, kExitFailed = 1, kExitUnreadableDrawing = 2, kExitDied = 3, kExitUsage = 64;

std::vector<std::wstring> argumentsAfterProgram() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < count; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

// Pixels on screen are the pixels the view maps to, also on a scaled monitor.
void becomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto setContext =
        user32 ? reinterpret_cast<SetContext>(
                     reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
               : nullptr;
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
    if (!setContext || !setContext(perMonitorV2)) SetProcessDPIAware();
}

std::wstring widen(const std::string& utf8) {
    std::wstring text(utf8.size(), L' ');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                                    static_cast<int>(text.size())));
    return text;
}

std::wstring hexCode(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

void tell(sim::Stream stream, const std::wstring& text, UINT icon) {
    const bool written = sim::writeToStream(stream, text + L"\n");
    if (icon != MB_ICONINFORMATION || !written) sim::showMessageBox(text, icon);
}

int unregister() {
    const sim::TypeLibOutcome outcome = sim::unregisterTypeLibrary(sim::programPath());
    if (FAILED(outcome.result)) {
        tell(sim::Stream::Err, L"cadsim: the type library registration could not be removed (error " +
                                   hexCode(outcome.result) + L")",
             MB_ICONERROR);
        return kExitFailed;
    }
    const std::wstring what = outcome.where.empty() ? L"cadsim: no type library registration was present"
                                                    : L"cadsim: type library registration removed (" + outcome.where + L")";
    sim::writeToStream(sim::Stream::Out, what + L"\n");
    return kExitOk;
}

std::optional<sim::Drawing> openDrawing(std::filesystem::path file) {
    if (file.empty()) file = std::filesystem::path(sim::programPath()).parent_path() / L"sample.dxf";
    std::wstring problem;
    try {
        return sim::readDxf(file);
    } catch (const sim::DxfError& e) {
        // The reader's message names the file and line itself; say them where it does not.
        const std::wstring reason = widen(e.what());
        problem = L"cadsim: the drawing cannot be read.\n";
        if (reason.find(e.file.wstring()) == std::wstring::npos)
            problem += e.file.wstring() + L", line " + std::to_wstring(e.line) + L": ";
        problem += reason;
    } catch (const std::exception& e) {
        problem = L"cadsim: the drawing cannot be read.\n" + file.wstring() + L": " + widen(e.what());
    }
    tell(sim::Stream::Err, problem, MB_ICONERROR);
    return std::nullopt;
}

int runMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : kExitFailed;
}

std::int32_t handleValue(HWND h) { return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(h)); }

int serve(sim::Drawing drawing, const sim::Options& options, const sim::HostPose& pose, int showCommand) {
    cad::com::ComInit com;
    if (!com.ok()) {
        tell(sim::Stream::Err, L"cadsim: COM could not be started", MB_ICONERROR);
        return kExitFailed;
    }
    const sim::TypeLibOutcome registered = sim::registerTypeLibrary(sim::programPath());
    if (FAILED(registered.result))
        sim::writeToStream(sim::Stream::Err, L"cadsim: warning: the type library could not be registered; "
                                             L"clients can still use IDispatch\n");

    sim::LayerStyles layers = sim::readLayerStyles(drawing.source);
    sim::Host host(std::move(drawing), options);
    sim::FrameWindow frame(host);
    if (!frame.create(pose.windowTitle) || !frame.document().handle() || !frame.document().view().handle()) {
        tell(sim::Stream::Err, L"cadsim: the window could not be made", MB_ICONERROR);
        return kExitFailed;
    }
    sim::ViewWindow& view = frame.document().view();
    view.setLayerStyles(std::move(layers));
    host.setWindowHandles(handleValue(frame.handle()), handleValue(frame.document().handle()));
    host.onViewChanged = [&view] { view.drawingChanged(); };
    host.promptHandler = [&view](const sim::PromptRequest& request) { return view.ask(request); };

    // A busy host (--busy N) rejects automation calls before it serves them.
    std::optional<cad::com::MessageFilterScope> busyFilter;
    if (options.busy.value_or(0) > 0) {
        busyFilter.emplace(sim::busyHostFilter(host));
        if (FAILED(busyFilter->result()))
            tell(sim::Stream::Err, L"cadsim: --busy: the message filter could not be installed", MB_ICONERROR);
    }

    // The class object is there before the window is: a client that sees the window can
    // always create the application object.
    std::optional<sim::ClassObjectRegistration> classObject(std::in_place, [&host] { return host.application(); });
    if (FAILED(classObject->result()))
        tell(sim::Stream::Err, L"cadsim: the application class could not be registered", MB_ICONERROR);
    std::optional<sim::PoseRegistration> posed(std::in_place, pose,
                                               pose.inRunningObjectTable ? sim::wrapForCom(host.application())
                                                                         : cad::com::ComPtr<IDispatch>());
    if (!posed->problem().empty()) sim::writeToStream(sim::Stream::Err, L"cadsim: warning: " + posed->problem() + L"\n");
    // --die: the process ends in the middle of a call, the call unanswered. Its class and
    // running object are withdrawn first, or the Wine server would keep them registered
    // and no later stand-in could be reached.
    host.onSuddenEnd = [&classObject, &posed] {
        posed.reset();
        classObject.reset();
        TerminateProcess(GetCurrentProcess(), kExitDied);
    };
    ShowWindow(frame.handle(), showCommand);
    UpdateWindow(frame.handle());
    const int code = runMessageLoop();
    host.onViewChanged = nullptr;
    host.promptHandler = nullptr;
    return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    becomeDpiAware();
    sim::CommandLine line;
    try {
        line = sim::parseCommandLine(argumentsAfterProgram());
    } catch (const sim::CommandLineError& e) {
        tell(sim::Stream::Err, L"cadsim: " + widen(e.what()) + L"\n\n" + sim::usageText(), MB_ICONERROR);
        return kExitUsage;
    }
    if (line.help) {
        tell(sim::Stream::Out, sim::usageText(), MB_ICONINFORMATION);
        return kExitOk;
    }
    if (line.unregister) return unregister();
    std::optional<sim::Drawing> drawing = openDrawing(line.drawing);
    if (!drawing) return kExitUnreadableDrawing;
    return serve(std::move(*drawing), line.options, line.pose, showCommand);
}
