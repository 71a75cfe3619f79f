// The stand-in CAD host, portable: one open drawing, its view, system variables,
// selection sets, layout and plot jobs, served as late-bound automation objects.
// The Win32 side (COM server, view window) and the native tests both drive it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cad/value.h"
#include "sim/model/drawing.h"

namespace sim {

struct Options {
    std::filesystem::path journal;   // --journal: one JSON line per plot job (empty: none)
    std::filesystem::path trace;     // --trace: one line per automation call (empty: none)
    std::filesystem::path plotDir;   // --plot-dir: where plotted sheets go
    std::vector<std::string> fails;  // --fail OPERATION[@N]
    std::vector<std::string> garbles;  // --garble OPERATION[@N]
    std::vector<std::string> deaths;   // --die OPERATION[@N]: the host ends in that call
    std::filesystem::path answers;   // --answers: scripted prompt answers (empty: ask the view)
    std::optional<long> busy;        // --busy N: every automation call is rejected N times first
};

// The visible drawing area: centre and height in drawing units, size in pixels.
struct ViewState {
    double centreX = 0, centreY = 0, height = 1;
    int widthPx = 800, heightPx = 600;
};

// A prompt the host cannot answer from its script: the view asks the user.
struct PromptRequest {
    enum class Kind { Point, Distance } kind;
    std::wstring text;
};
struct PromptAnswer {
    bool cancelled = true;
    double x = 0, y = 0;  // a point
    double distance = 0;  // a distance
};

class Host {
public:
    Host(Drawing drawing, Options options);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The application object; every other object is reached from it.
    cad::DispatchPtr application();

    const Drawing& drawing() const;
    ViewState view() const;
    void setScreenSize(int widthPx, int heightPx);  // the visible drawing area changed
    bool gridMode() const;                           // GRIDMODE is 1
    void setGridMode(bool on);                       // the user switched the grid display

    // Replaces the injected faults and the prompt answers with those of `options` (its
    // fails, garbles and answers; the rest is ignored): the rules count calls from now,
    // and without an answers file the prompts ask the view. Throws std::invalid_argument
    // with a message when a rule or the answers file is bad, and then changes nothing.
    void replaceFaults(const Options& options);

    // The sheet plotted in the background, written now: with an odd BACKGROUNDPLOT a plot
    // call takes its sheet at once and answers true, and the sheet and its journal line
    // are written only when this is called (the Win32 stand-in calls it from its message
    // loop a while after the call, as a background plot takes time; tests call it where
    // they want the plot to end). A plot call while a sheet is pending answers false and
    // plots nothing. A sheet that cannot be written then is lost, as a failed background
    // plot is: the trace says why. False when no sheet was pending.
    bool finishBackgroundPlot();

    // What the HWND members report.
    void setWindowHandles(std::int32_t application, std::int32_t document);

    // Whether an incoming automation call is rejected because the host is busy: with
    // --busy N the host rejects N calls in a row, serves the next one, and so on, so a
    // call tried until it is served is rejected N times. Each rejection is written to
    // the trace as "busy: CALL rejected (K of N)".
    bool rejectWhileBusy(std::wstring_view call);

    // Called when a prompt is not answered by the --answers script.
    std::function<PromptAnswer(const PromptRequest&)> promptHandler;
    // Called after anything the view shows has changed (view, grid mode).
    std::function<void()> onViewChanged;
    // Called in the call a --die rule names: the host process ends there, as a CAD that
    // crashes. Without it (in process) the host is dead from then on: that call and every
    // later one fail as calls to an ended server do.
    std::function<void()> onSuddenEnd;
    // Called when a plot call has taken a sheet to plot in the background.
    std::function<void()> onBackgroundPlot;

    // Automation objects alive now (for tests that check every reference is released).
    int liveObjects() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace sim
