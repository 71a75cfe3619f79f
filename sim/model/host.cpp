#include "sim/model/host.h"

#include <algorithm>
#include <stdexcept>

#include "sim/model/host_state.h"
#include "sim/model/text_codec.h"
#include "sim/model/view.h"

namespace sim {

void State::changeView(const ViewState& next) {
    constexpr std::size_t kRemembered = 10;
    previousViews.push_back(view);
    if (previousViews.size() > kRemembered) previousViews.erase(previousViews.begin());
    view = next;
    viewChosen = true;
    viewChanged();
}

void State::viewChanged() const {
    if (host && host->onViewChanged) host->onViewChanged();
}

Host::Host(Drawing drawing, Options options) : state_(std::make_shared<State>()) {
    State& s = *state_;
    replaceFaults(options);
    s.trace = Trace(options.trace);
    s.host = this;
    s.drawing = std::move(drawing);
    s.options = std::move(options);
    s.extents = s.drawing.extents();
    s.dimscale = s.drawing.dimscale;
    s.view = fitView(s.view, s.extents);
    s.activeSet = std::make_shared<SelectionSetData>();
    s.activeSet->name = L"CURRENT";
    s.activeSet->active = true;
    s.layouts[s.activeLayout] = LayoutSettings{};
}

void Host::replaceFaults(const Options& options) {
    Faults faults(options.fails, options.garbles, options.deaths);
    std::deque<Answer> answers;
    if (!options.answers.empty()) answers = readAnswers(options.answers);
    State& s = *state_;
    s.faults = std::move(faults);
    s.answers = std::move(answers);
    s.scripted = !options.answers.empty();
}

Host::~Host() {
    state_->host = nullptr;
}

cad::DispatchPtr Host::application() { return makeApplication(state_); }

const Drawing& Host::drawing() const { return state_->drawing; }

ViewState Host::view() const { return state_->view; }

void Host::setScreenSize(int widthPx, int heightPx) {
    State& s = *state_;
    s.view.widthPx = std::max(1, widthPx);
    s.view.heightPx = std::max(1, heightPx);
    // Until someone chooses a view, the view keeps showing the whole drawing.
    if (!s.viewChosen) s.view = fitView(s.view, s.extents);
}

bool Host::gridMode() const { return state_->gridMode == 1; }

void Host::setGridMode(bool on) {
    state_->gridMode = on ? 1 : 0;
    state_->viewChanged();
}

void Host::setWindowHandles(std::int32_t application, std::int32_t document) {
    state_->applicationHandle = application;
    state_->documentHandle = document;
}

bool Host::finishBackgroundPlot() {
    State& s = *state_;
    if (!s.backgroundJob) return false;
    const State::BackgroundPlot pending = std::move(*s.backgroundJob);
    s.backgroundJob.reset();
    const std::wstring job = L"background: job " + std::to_wstring(pending.job);
    try {
        pending.write(s);
        s.trace.write(job + L" written", nullptr);
    } catch (const std::runtime_error& e) {
        const std::wstring reason = decodeUtf8(e.what());
        s.trace.write(job + L" not written", &reason);
    }
    return true;
}

bool Host::rejectWhileBusy(std::wstring_view call) {
    State& s = *state_;
    const long busy = s.options.busy.value_or(0);
    if (s.busyRejections >= busy) {
        s.busyRejections = 0;
        return false;
    }
    ++s.busyRejections;
    s.trace.write(L"busy: " + std::wstring(call) + L" rejected (" + std::to_wstring(s.busyRejections) + L" of " +
                      std::to_wstring(busy) + L")",
                  nullptr);
    return true;
}

int Host::liveObjects() const { return state_->liveObjects; }

}  // namespace sim
