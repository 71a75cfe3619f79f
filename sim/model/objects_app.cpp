// The application, document and utility objects.
#include <cmath>
#include <filesystem>
#include <string>

#include "base/text_codec.h"
#include "sim/model/args.h"
#include "sim/model/host_state.h"
#include "sim/model/view.h"

namespace sim {
namespace {

// The folder of the drawing's file, in full and without a closing separator, as the
// host's Path gives it; empty for a drawing that came from no file.
std::wstring folderOf(const std::filesystem::path& drawing) {
    if (drawing.empty()) return {};
    std::error_code error;
    std::wstring folder = base::pathText(std::filesystem::absolute(drawing, error).make_preferred().parent_path());
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

class Application final : public Object {
public:
    explicit Application(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::Application) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        using enum cad::Operation;
        State& s = state();
        Args args(m, list);
        switch (m.operation) {
            case currentDocument:
                args.count(0, 0);
                return makeDocument(sharedState());
            case showWholeDrawing:
                args.count(0, 0);
                s.changeView(fitView(s.view, s.extents));
                return {};
            case showAreaInView: {
                args.count(2, 2);
                Vec2 a = args.point(0), b = args.point(1);
                if (a.x == b.x && a.y == b.y) hostError(m, L"the window has no size");
                Extents box;
                include(box, a);
                include(box, b);
                s.changeView(fitView(s.view, box));
                return {};
            }
            case showPreviousView:
                args.count(0, 0);
                if (!s.previousViews.empty()) {  // with none saved the view stays
                    s.view = s.previousViews.back();
                    s.previousViews.pop_back();
                    s.viewChanged();
                }
                return {};
            case mainWindowHandle:
                args.count(0, 0);
                return s.applicationHandle;
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
    }
};

class Document final : public Object {
public:
    explicit Document(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::Document) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        using enum cad::Operation;
        State& s = state();
        Args args(m, list);
        switch (m.operation) {
            case readSysVar:
                args.count(1, 1);
                return readSystemVariable(s, m, args.text(0));
            case writeSysVar: {
                args.count(2, 2);
                std::wstring name = args.text(0);
                if (!args.given(1)) args.wrong(1, L"a value");
                writeSystemVariable(s, m, name, args.at(1));
                return {};
            }
            case plotService:
                args.count(0, 0);
                return makePlot(sharedState());
            case selectionSetCollection:
                args.count(0, 0);
                return makeSelectionSets(sharedState());
            case documentSelectionSet:
                args.count(0, 0);
                return makeSelectionSet(sharedState(), s.activeSet);
            case inputUtility:
                args.count(0, 0);
                return makeUtility(sharedState());
            case currentLayout:
                args.count(0, 0);
                return makeLayout(sharedState(), s.activeLayout);
            case documentWindowHandle:
                args.count(0, 0);
                return s.documentHandle;
            case drawingFolder:
                args.count(0, 0);
                return folderOf(s.drawing.source);
            case drawingName:
                args.count(0, 0);
                return base::pathText(s.drawing.source.filename());
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
    }
};

class Utility final : public Object {
public:
    explicit Utility(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::Utility) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        using enum cad::Operation;
        Args args(m, list);
        args.count(0, 2);
        std::optional<Vec2> base = args.optionalPoint(0);
        std::wstring prompt = args.given(1) ? args.text(1) : std::wstring();
        switch (m.operation) {
            case promptPoint: {
                Vec2 p = askPoint(m, prompt);
                return std::vector<double>{p.x, p.y, 0.0};
            }
            case promptDistance:
                return askDistance(m, prompt, base);
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
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
