// The main window under test: in-memory widgets, the scripted desktop, and the stand-in
// host in process behind the CAD link. The desktop holds the host's windows:
//   kCadWindow  "nanoCAD 5", the application's main window
//   kDocWindow  the document window, whose first child is a bar of kBarHeight pixels and
//               whose next child is the view, kViewWidth x kViewHeight below it.
// The host's view has the view's size, so what it reports matches the desktop.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "app/main_window.h"
#include "cad/late_bound.h"
#include "sim/model/host.h"
#include "support/fake_shell.h"
#include "support/memory_widgets.h"

namespace testing_support {

// The host's objects with answers a test changes: `change` sees every result of every
// object reached from the wrapped one, by member name and arguments, and may replace it.
// Values no stand-in gives (a view of no size, a corner that is not a number) come this
// way.
class AlteredAnswers final : public cad::Dispatch {
public:
    using Change = std::function<void(std::wstring_view member, const cad::ValueList& args, cad::Value& result)>;
    AlteredAnswers(cad::DispatchPtr inner, std::shared_ptr<const Change> change)
        : inner_(std::move(inner)), change_(std::move(change)) {}
    cad::Value invoke(std::wstring_view member, cad::CallKind kind, cad::ValueList& args) override {
        cad::Value result = inner_->invoke(member, kind, args);
        if (cad::DispatchPtr* object = result.get<cad::DispatchPtr>(); object && *object)
            *object = std::make_shared<AlteredAnswers>(*object, change_);
        (*change_)(member, args, result);
        return result;
    }
    cad::DispatchPtr queryInterface(std::wstring_view interfaceId) override {
        return std::make_shared<AlteredAnswers>(inner_->queryInterface(interfaceId), change_);
    }

private:
    cad::DispatchPtr inner_;
    std::shared_ptr<const Change> change_;
};

// The host's application object, made in process; `fail` makes creation throw.
struct InProcessCad : cad::CoApplication {
    sim::Host* host = nullptr;
    bool fail = false;
    int created = 0;
    AlteredAnswers::Change alter;  // when set, changes the host's answers
    std::vector<std::wstring> profiles;  // the name of each profile asked for
    std::unique_ptr<cad::CadApplication> Create(const cad::CadProfile& profile) override {
        profiles.push_back(profile.name);
        if (fail || !host) throw cad::CadError(L"the class is not registered");
        ++created;
        if (alter)
            return cad::wrapApplication(std::make_shared<AlteredAnswers>(
                host->application(), std::make_shared<const AlteredAnswers::Change>(alter)), profile.plotInterfaceId);
        return cad::wrapApplication(host->application(), profile.plotInterfaceId);
    }
};

struct FormRig {
    static constexpr desktop::WindowHandle kCadWindow = 101, kDocWindow = 102, kBar = 103, kView = 104;
    static constexpr int kDocLeft = 40, kDocTop = 60, kBarHeight = 30;
    static constexpr int kViewWidth = 1000, kViewHeight = 500;

    explicit FormRig(sim::Drawing drawing, sim::Options options = {}, int scaleFactor = 100)
        : folder(std::filesystem::temp_directory_path() / ("quillon-rig-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(folder);
        shell.program = (folder / "quillon.exe").wstring();
        shell.scaleFactor = scaleFactor;
        host = std::make_unique<sim::Host>(std::move(drawing), std::move(options));
        host->setWindowHandles(static_cast<std::int32_t>(kCadWindow), static_cast<std::int32_t>(kDocWindow));
        setViewArea(kViewWidth, kViewHeight);
        shell.windows[kCadWindow] = {L"nanoCAD 5", L"CadSimFrame", {0, 0, 1200, 700}, 0, 0, false};
        cad.host = host.get();
        form = std::make_unique<app::MainWindow>(widgets, shell);
        form->setCadLink(cad);
    }
    ~FormRig() {
        form.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The document window's view area becomes width x height pixels.
    void setViewArea(int width, int height) {
        const int l = kDocLeft, t = kDocTop;
        shell.windows[kDocWindow] = {L"", L"CadSimDocument", {l, t, l + width, t + kBarHeight + height}, kBar, 0, false};
        shell.windows[kBar] = {L"", L"", {l, t, l + width, t + kBarHeight}, 0, kView, false};
        shell.windows[kView] = {L"", L"", {l, t, l + width, t + kBarHeight + height}, 0, 0, false};
        host->setScreenSize(width, height);
    }

    app::MainWindow& f() { return *form; }

    // The CAD ended and was started again with that drawing: a new host behind the same
    // windows and link.
    void restartCad(sim::Drawing drawing, sim::Options options = {}) {
        host = std::make_unique<sim::Host>(std::move(drawing), std::move(options));
        host->setWindowHandles(static_cast<std::int32_t>(kCadWindow), static_cast<std::int32_t>(kDocWindow));
        const desktop::ScreenRect doc = shell.windows[kDocWindow].rect;
        host->setScreenSize(doc.width(), doc.height() - kBarHeight);
        cad.host = host.get();
    }

    // The user's view before a capture: a part of the drawing, not the whole of it.
    sim::ViewState zoomIn() {
        cad::wrapApplication(host->application())->showAreaInView({0, 0, 0}, {100, 100, 0});
        return host->view();
    }
    bool viewIs(const sim::ViewState& v) const {
        const sim::ViewState now = host->view();
        return now.centreX == v.centreX && now.centreY == v.centreY && now.height == v.height;
    }
    // The host answers `value` when asked for the system variable `name`.
    void answerVariable(const std::wstring& name, cad::Value value) {
        cad.alter = [name, value](std::wstring_view member, const cad::ValueList& args, cad::Value& result) {
            const std::wstring* asked = args.empty() ? nullptr : args[0].get<std::wstring>();
            if (member == L"GetVariable" && asked && *asked == name) result = value;
        };
    }

    std::filesystem::path folder;
    ui::MemoryWidgetFactory widgets;
    FakeShell shell;
    std::unique_ptr<sim::Host> host;
    InProcessCad cad;
    std::unique_ptr<app::MainWindow> form;
};

}  // namespace testing_support
