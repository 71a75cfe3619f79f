// Inside the stand-in host: the state every automation object shares, and the base of
// those objects, which routes calls through the member table, counts them for fault
// injection and writes the trace.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cad/members.h"
#include "cad/value.h"
#include "sim/model/answers.h"
#include "sim/model/devices.h"
#include "sim/model/faults.h"
#include "sim/model/host.h"
#include "sim/model/interfaces.h"
#include "sim/model/selection.h"
#include "sim/model/trace.h"

namespace sim {

struct SelectionSetData {
    std::wstring name;
    std::vector<ItemRef> items;
    bool deleted = false;
    bool active = false;  // the document's active selection set, not in the collection
};

struct Host::State {
    Host* host = nullptr;  // null once the host is gone; objects may outlive it
    Drawing drawing;
    Options options;
    Extents extents;

    ViewState view;
    std::vector<ViewState> previousViews;
    bool viewChosen = false;  // false while the view is the initial fit of the extents

    std::int16_t gridMode = 0;
    std::int16_t backgroundPlot = 2;
    double dimscale = 1;

    std::vector<std::shared_ptr<SelectionSetData>> sets;
    std::shared_ptr<SelectionSetData> activeSet;

    std::map<std::wstring, LayoutSettings> layouts;
    std::wstring activeLayout = L"Model";
    std::int32_t copies = 1;
    int jobs = 0;

    // A sheet plotted in the background (BACKGROUNDPLOT odd): taken by the plot call, not
    // yet written; Host::finishBackgroundPlot() writes it.
    struct BackgroundPlot {
        int job = 0;
        std::function<void(const State&)> write;  // the sheet and its journal line; throws std::runtime_error
    };
    std::optional<BackgroundPlot> backgroundJob;

    Faults faults;
    bool ended = false;  // a --die rule ended the host
    long busyRejections = 0;  // of the call being tried now (--busy)
    Trace trace;
    bool scripted = false;  // answers come from --answers
    std::deque<Answer> answers;

    std::int32_t applicationHandle = 0, documentHandle = 0;
    int liveObjects = 0;

    // Makes `next` the view, remembering the old one for ZoomPrevious.
    void changeView(const ViewState& next);
    void viewChanged() const;
};

using State = Host::State;

class Object : public cad::Dispatch, public std::enable_shared_from_this<Object> {
public:
    Object(std::shared_ptr<State> state, cad::ObjectKind kind);
    ~Object() override;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    cad::Value invoke(std::wstring_view member, cad::CallKind kind, cad::ValueList& args) final;
    cad::DispatchPtr queryInterface(std::wstring_view interfaceId) override;
    // The interface that describes this object: by default that of its kind.
    virtual Interface describedBy() const;

protected:
    // One call of a member of this object's kind, arguments as given.
    virtual cad::Value call(const cad::Member& member, cad::ValueList& args) = 0;
    // For the operations of other kinds of object, which invoke() never passes to call().
    [[noreturn]] static void notServed(const cad::Member& member);
    State& state() const { return *state_; }
    const std::shared_ptr<State>& sharedState() const { return state_; }

private:
    std::shared_ptr<State> state_;
    cad::ObjectKind kind_;
};

bool sameInterface(std::wstring_view a, std::wstring_view b);

cad::DispatchPtr makeApplication(const std::shared_ptr<State>& state);
cad::DispatchPtr makeDocument(const std::shared_ptr<State>& state);
cad::DispatchPtr makeUtility(const std::shared_ptr<State>& state);
cad::DispatchPtr makeSelectionSets(const std::shared_ptr<State>& state);
cad::DispatchPtr makeSelectionSet(const std::shared_ptr<State>& state, std::shared_ptr<SelectionSetData> set);
cad::DispatchPtr makeLayout(const std::shared_ptr<State>& state, std::wstring name);
cad::DispatchPtr makePlot(const std::shared_ptr<State>& state);
// One attribute reference object per attribute value of Drawing::inserts[insert].
std::vector<cad::DispatchPtr> makeAttributes(const std::shared_ptr<State>& state, std::size_t insert);

// System variables by name (any letter case); unknown names and wrong values throw
// cad::CadError.
cad::Value readSystemVariable(State& state, const cad::Member& member, const std::wstring& name);
void writeSystemVariable(State& state, const cad::Member& member, const std::wstring& name, const cad::Value& value);

}  // namespace sim
