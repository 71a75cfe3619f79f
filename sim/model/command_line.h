// The stand-in's command line: `cadsim.exe [options] [DRAWING.dxf]`. Portable; the
// Windows entry point hands it the arguments after the program name.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/model/host.h"

namespace sim {

// What the stand-in poses as: the CAD whose main window and automation registration it
// shows. By default the nanoCAD 5 host: that window title, no ProgID, nothing in the
// running object table. In every pose the application class id is served as well.
struct HostPose {
    std::wstring windowTitle = L"nanoCAD 5";
    std::wstring progId;                // registered for the application class while it runs
    bool inRunningObjectTable = false;  // the application object registered there
};

struct CommandLine {
    Options options;
    HostPose pose;  // --host NAME, or --host-title TITLE and --host-progid PROGID
    std::filesystem::path drawing;  // empty: open the bundled sample
    bool unregister = false;        // --unregister: remove the type library registration, exit
    bool help = false;              // --help: print the usage text, exit
};

// A command line that cannot be used; what() is a message for the user (UTF-8).
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

CommandLine parseCommandLine(const std::vector<std::wstring>& args);

// The usage text printed by --help and after a command line error.
std::wstring usageText();

// The environment variable that, when set to anything but "" or "0", makes a drawing
// that cannot be read end the stand-in with its message on stderr only, no message box.
inline constexpr wchar_t kNoDialogVariable[] = L"CADSIM_NO_DIALOG";
bool noDialogRequested(const wchar_t* value);  // value of that variable, or nullptr

// A plain UTF-8 rendering of a wide string (lone surrogates become U+FFFD).
std::string toUtf8(std::wstring_view text);

}  // namespace sim
