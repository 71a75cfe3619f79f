// The application, document and utility objects.
#include <cmath>

#include "sim/model/args.h"
#include "sim/model/host_state.h"
#include "sim/model/view.h"

namespace sim {
namespace {

class Application final : public Object {
public:
    explicit Application(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::Application) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        State& s = state();
        Args args(m, list);
        const std::wstring_view op = m.operation;
        if (op == L"currentDocument") {
            args.count(0, 0);
            return makeDocument(sharedState());
        }
        if (op == L"showWholeDrawing") {
            args.count(0, 0);
            s.changeView(fitView(s.view, s.extents));
        } else if (op == L"showAreaInView") {
            args.count(2, 2);
            Vec2 a = args.point(0), b = args.point(1);
            if (a.x == b.x && a.y == b.y) hostError(m, L"the window has no size");
            Extents box;
            include(box, a);
            include(box, b);
            s.changeView(fitView(s.view, box));
        } else if (op == L"showPreviousView") {
            args.count(0, 0);
            if (!s.previousViews.empty()) {  // with none saved the view stays
                s.view = s.previousViews.back();
                s.previousViews.pop_back();
                s.viewChanged();
            }
        } else if (op == L"mainWindowHandle") {
            args.count(0, 0);
            return s.applicationHandle;
        }
        return {};
    }
};

class Document final : public Object {
public:
    explicit Document(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::Document) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        State& s = state();
        Args args(m, list);
        const std::wstring_view op = m.operation;
        if (op == L"readSysVar") {
            args.count(1, 1);
            return readSystemVariable(s, m, args.text(0));
        }
        if (op == L"writeSysVar") {
            args.count(2, 2);
            std::wstring name = args.text(0);
            if (!args.given(1)) args.wrong(1, L"a value");
            writeSystemVariable(s, m, name, args.at(1));
            return {};
        }
        args.count(0, 0);
        if (op == L"plotService") return makePlot(sharedState());
        if (op == L"selectionSetCollection") return makeSelectionSets(sharedState());
        if (op == L"documentSelectionSet") return makeSelectionSet(sharedState(), s.activeSet);
        if (op == L"inputUtility") return makeUtility(sharedState());
        if (op == L"currentLayout") return makeLayout(sharedState(), s.activeLayout);
        if (op == L"documentWindowHandle") return s.documentHandle;
        return {};
    }
};

class Utility final : public Object {
public:
    explicit Utility(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::Utility) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        Args args(m, list);
        args.count(0, 2);
        std::optional<Vec2> base = args.optionalPoint(0);
        std::wstring prompt = args.given(1) ? args.text(1) : std::wstring();
        if (m.operation == L"promptPoint") {
            Vec2 p = askPoint(m, prompt);
            return std::vector<double>{p.x, p.y, 0.0};
        }
        return askDistance(m, prompt, base);
    }

    Answer next(const cad::Member& m, const std::wstring& prompt, PromptRequest::Kind kind) {
        State& s = state();
        if (s.scripted) {
            if (s.answers.empty()) hostError(m, L"no answer left in the answers file for \"" + prompt + L"\"");
            Answer a = s.answers.front();
            s.answers.pop_front();
            if (a.kind == Answer::Kind::Cancel) hostError(m, L"the user cancelled the input");
            return a;
        }
        if (!s.host || !s.host->promptHandler) hostError(m, L"the user cancelled the input");
        PromptAnswer given = s.host->promptHandler(PromptRequest{kind, prompt});
        if (given.cancelled) hostError(m, L"the user cancelled the input");
        Answer a;
        a.kind = kind == PromptRequest::Kind::Point ? Answer::Kind::Point : Answer::Kind::Distance;
        a.x = given.x, a.y = given.y, a.distance = given.distance;
        return a;
    }

    Vec2 askPoint(const cad::Member& m, const std::wstring& prompt) {
        Answer a = next(m, prompt, PromptRequest::Kind::Point);
        if (a.kind != Answer::Kind::Point)
            hostError(m, L"answers file line " + std::to_wstring(a.line) + L": a point is asked for, not a distance");
        return {a.x, a.y};
    }

    // A typed distance, or the distance between two picked points (the first may be the
    // base point).
    double askDistance(const cad::Member& m, const std::wstring& prompt, std::optional<Vec2> base) {
        Answer a = next(m, prompt, PromptRequest::Kind::Distance);
        if (a.kind == Answer::Kind::Distance) return a.distance;
        Vec2 first = base ? *base : Vec2{a.x, a.y};
        Vec2 second = base ? Vec2{a.x, a.y} : askPoint(m, prompt);
        return std::hypot(second.x - first.x, second.y - first.y);
    }
};

}  // namespace

cad::DispatchPtr makeApplication(const std::shared_ptr<State>& s) { return std::make_shared<Application>(s); }
cad::DispatchPtr makeDocument(const std::shared_ptr<State>& s) { return std::make_shared<Document>(s); }
cad::DispatchPtr makeUtility(const std::shared_ptr<State>& s) { return std::make_shared<Utility>(s); }

}  // namespace sim
