#include "sim/model/command_line.h"

#include "base/names.h"
#include "base/unicode.h"
#include "cad/profiles.h"

#include <cwctype>
#include <optional>
#include <string_view>
#include <type_traits>

namespace sim {
namespace {

enum class Takes { Path, Fault, Count, Text, Nothing };

struct KnownOption {
    std::wstring_view name;
    Takes takes;
};

constexpr KnownOption kOptions[] = {
    {L"--journal", Takes::Path},   {L"--trace", Takes::Path},    {L"--plot-dir", Takes::Path},
    {L"--answers", Takes::Path},   {L"--fail", Takes::Fault},    {L"--garble", Takes::Fault},
    {L"--die", Takes::Fault},
    {L"--host", Takes::Text},      {L"--host-title", Takes::Text}, {L"--host-progid", Takes::Text},
    {L"--busy", Takes::Count},     {L"--unregister", Takes::Nothing}, {L"--help", Takes::Nothing},
};

// The pose options as given, resolved once the drawing is known.
struct PoseOptions {
    std::wstring host, title, progId;
};

const KnownOption* findOption(std::wstring_view name) {
    for (const KnownOption& known : kOptions)
        if (known.name == name) return &known;
    return nullptr;
}

// Wide text to a path without the process locale (which natively may not know UTF-8).
std::filesystem::path pathFromWide(std::wstring_view text) {
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
        return std::filesystem::path(std::wstring(text));
    } else {
        const std::string utf8 = toUtf8(text);
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }
}

[[noreturn]] void fail(const std::wstring& message) { throw CommandLineError(toUtf8(message)); }

// OPERATION[@N]: a member name of letters, digits and underscores, and an optional
// call number from 1.
std::string checkedFault(std::wstring_view option, std::wstring_view value) {
    const size_t at = value.find(L'@');
    const std::wstring_view name = value.substr(0, at);
    bool nameOk = !name.empty();
    for (wchar_t c : name) nameOk = nameOk && c < 128 && (std::iswalnum(c) || c == L'_');
    bool countOk = true;
    if (at != std::wstring_view::npos) {
        const std::wstring_view count = value.substr(at + 1);
        countOk = !count.empty() && count.size() <= 9 && count.find_first_not_of(L"0123456789") == count.npos &&
                  count.find_first_not_of(L'0') != count.npos;
    }
    if (!nameOk || !countOk)
        fail(std::wstring(option) + L" expects OPERATION or OPERATION@N (N from 1), not \"" + std::wstring(value) +
             L"\"");
    return toUtf8(value);
}

// N: a count from 0, at most nine digits.
void setCount(std::optional<long>& target, std::wstring_view option, std::wstring_view value) {
    if (value.empty() || value.size() > 9 || value.find_first_not_of(L"0123456789") != value.npos)
        fail(std::wstring(option) + L" expects a count from 0 to 999999999, not \"" + std::wstring(value) + L"\"");
    if (target) fail(std::wstring(option) + L" is given more than once");
    target = std::stol(std::wstring(value));
}

void setPath(std::filesystem::path& target, std::wstring_view option, std::wstring_view value) {
    if (value.empty()) fail(std::wstring(option) + L" needs a non-empty value");
    if (!target.empty()) fail(std::wstring(option) + L" is given more than once");
    target = pathFromWide(value);
}

void setText(std::wstring& target, std::wstring_view option, std::wstring_view value) {
    if (value.empty()) fail(std::wstring(option) + L" needs a non-empty value");
    if (!target.empty()) fail(std::wstring(option) + L" is given more than once");
    target = value;
}

// The pose: a built-in profile's window (a title prefix followed by the drawing's name)
// and ProgID, or the title and ProgID given.
HostPose resolvePose(const PoseOptions& p, const std::filesystem::path& drawing) {
    HostPose pose;
    if (p.host.empty() && p.title.empty() && p.progId.empty()) return pose;
    if (!p.host.empty() && (!p.title.empty() || !p.progId.empty()))
        fail(L"--host cannot be combined with --host-title or --host-progid");
    pose.inRunningObjectTable = true;
    if (p.host.empty()) {
        if (!p.title.empty()) pose.windowTitle = p.title;
        pose.progId = p.progId;
        return pose;
    }
    std::wstring names;
    for (const cad::CadProfile& profile : cad::builtInProfiles()) {
        if (base::sameNameIgnoringCase(profile.name, p.host)) {
            const std::wstring file = drawing.empty() ? L"sample.dxf" : drawing.filename().wstring();
            pose.windowTitle = profile.titleIsPrefix ? profile.windowTitle + L" - [" + file + L"]" : profile.windowTitle;
            pose.progId = profile.progId;
            return pose;
        }
        names += (names.empty() ? L"\"" : L", \"") + profile.name + L"\"";
    }
    fail(L"--host expects one of " + names + L", not \"" + p.host + L"\"");
}

void apply(CommandLine& line, PoseOptions& pose, std::wstring_view option, std::wstring_view value) {
    Options& o = line.options;
    if (option == L"--journal") setPath(o.journal, option, value);
    else if (option == L"--trace") setPath(o.trace, option, value);
    else if (option == L"--plot-dir") setPath(o.plotDir, option, value);
    else if (option == L"--answers") setPath(o.answers, option, value);
    else if (option == L"--fail") o.fails.push_back(checkedFault(option, value));
    else if (option == L"--garble") o.garbles.push_back(checkedFault(option, value));
    else if (option == L"--die") o.deaths.push_back(checkedFault(option, value));
    else if (option == L"--host") setText(pose.host, option, value);
    else if (option == L"--host-title") setText(pose.title, option, value);
    else if (option == L"--host-progid") setText(pose.progId, option, value);
    else if (option == L"--busy") setCount(o.busy, option, value);
    else if (option == L"--unregister") line.unregister = true;
    else if (option == L"--help") line.help = true;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::wstring>& args) {
    CommandLine line;
    PoseOptions pose;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool looksLikeOption = !optionsEnded && arg.size() > 1 && arg[0] == L'-';
        if (!looksLikeOption) {
            if (arg.empty()) fail(L"an empty drawing name was given");
            if (!line.drawing.empty()) fail(L"more than one drawing given (\"" + arg + L"\" is the second)");
            line.drawing = pathFromWide(arg);
            continue;
        }
        if (arg == L"--") {
            optionsEnded = true;
            continue;
        }
        if (arg == L"-h" || arg == L"-?") {
            line.help = true;
            continue;
        }
        const size_t eq = arg.find(L'=');
        const std::wstring_view name = std::wstring_view(arg).substr(0, eq);
        const KnownOption* known = findOption(name);
        if (!known) fail(L"unknown option " + std::wstring(name));
        std::optional<std::wstring_view> value;
        if (eq != std::wstring::npos) value = std::wstring_view(arg).substr(eq + 1);
        if (known->takes == Takes::Nothing) {
            if (value) fail(std::wstring(name) + L" takes no value");
        } else if (!value) {
            if (i + 1 >= args.size()) fail(std::wstring(name) + L" needs a value");
            value = args[++i];
        }
        apply(line, pose, name, value.value_or(L""));
    }
    line.pose = resolvePose(pose, line.drawing);
    return line;
}

std::wstring usageText() {
    return L"Usage: cadsim.exe [options] [DRAWING.dxf]\n"
           L"Stands in for the nanoCAD host: shows the drawing in a window titled \"nanoCAD 5\" and\n"
           L"serves the host's automation objects. Without DRAWING it opens sample.dxf beside the exe.\n"
           L"\n"
           L"  --journal FILE        append one JSON line per plot job\n"
           L"  --trace FILE          append one line per automation call\n"
           L"  --plot-dir DIR        where plotted sheets are written\n"
           L"  --fail OP[@N]         the N-th call (default 1st) of member OP fails; repeatable\n"
           L"  --garble OP[@N]       the N-th call of member OP returns a result of the wrong shape;\n"
           L"                        repeatable\n"
           L"  --die OP[@N]          the program ends in the N-th call of member OP, without an\n"
           L"                        answer, as a CAD that crashes (its class withdrawn first)\n"
           L"  --answers FILE        answers for GetPoint/GetDistance, one a line:\n"
           L"                        \"point X,Y\", \"distance D\" or \"cancel\"\n"
           L"  --host NAME           pose as that CAD: its main window title (a title prefix is\n"
           L"                        followed by \" - [DRAWING]\"), its ProgID registered for the\n"
           L"                        application class, the application object in the running\n"
           L"                        object table. NAME: nanoCAD, \"nanoCAD 現行版\", AutoCAD,\n"
           L"                        BricsCAD, ZWCAD, GstarCAD\n"
           L"  --host-title TITLE    pose as any CAD: this main window title, and the\n"
           L"  --host-progid PROGID  application object under this ProgID (either or both)\n"
           L"  --busy N              act as a busy host: every automation call is rejected N times\n"
           L"                        before it is served (told to retry later; under Wine, which\n"
           L"                        has no retry-later, rejected outright)\n"
           L"  --unregister          remove the type library registration and exit\n"
           L"  --help                show this text\n"
           L"\n"
           L"Options also take the form --option=VALUE; \"--\" ends the options.\n"
           L"A drawing that cannot be read ends cadsim with exit code 2 and a message naming the\n"
           L"file and line, on stderr and in a message box. Set CADSIM_NO_DIALOG=1 to skip the box\n"
           L"(tests do). A wrong command line ends it with exit code 64.\n";
}

bool noDialogRequested(const wchar_t* value) {
    return value != nullptr && *value != L'\0' && std::wstring_view(value) != L"0";
}

std::string toUtf8(std::wstring_view text) { return base::encodeUtf8(text); }

}  // namespace sim
