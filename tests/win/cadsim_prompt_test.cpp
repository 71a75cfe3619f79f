// Prompts of the input utility when no answers file is given: cadsim asks in its view,
// shows the prompt in the status line and answers from clicks and typed keys.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "tests/win/cadsim_client.h"
#include "tests/win/stand_in.h"

namespace {

using namespace cadsim_test;

// One user action in the view, in view pixels for clicks.
struct Action {
    enum Kind { Click, Type, Enter, Escape } kind;
    POINT at{};
    const wchar_t* text = L"";
};

struct PromptCase {
    const char* name;
    const wchar_t* member;  // GetPoint or GetDistance
    std::vector<Action> actions;
    bool answered;
    // Expected answer: for a point its x, y; for a distance its value in x. Clicks are
    // checked against the view mapping instead when `fromClicks` is set.
    double x = 0, y = 0;
    bool fromClicks = false;
};

void PrintTo(const PromptCase& c, std::ostream* os) { *os << c.name; }

class CadsimPrompts : public testing::TestWithParam<PromptCase> {
protected:
    // One stand-in for the suite: each case's prompt is over when the case ends.
    static void TearDownTestSuite() { cadsim_.reset(); }
    void SetUp() override {
        ASSERT_TRUE(com_.ok());
        if (!cadsim_) cadsim_ = std::make_unique<StandIn>(std::vector<std::wstring>{twoLineDrawing()});
        main_ = cadsim_->waitForMainWindow();
        ASSERT_NE(main_, nullptr) << cadsim_->output();
        bar_ = GetWindow(GetWindow(main_, GW_CHILD), GW_CHILD);
        view_ = GetWindow(bar_, GW_HWNDNEXT);
        ComPtr<IUnknown> unknown;
        ASSERT_HRESULT_SUCCEEDED(createApplication(unknown));
        ASSERT_HRESULT_SUCCEEDED(unknown.query(IID_IDispatch, app_));
        doc_ = objectOf(call(app_.get(), L"ActiveDocument", DISPATCH_PROPERTYGET));
        ASSERT_TRUE(doc_);
        utility_ = objectOf(call(doc_.get(), L"Utility", DISPATCH_PROPERTYGET));
        ASSERT_TRUE(utility_);
    }

    std::vector<double> variable(const wchar_t* name) {
        const CallResult r = call(doc_.get(), L"GetVariable", DISPATCH_METHOD, {bstrVariant(name).get()});
        if (V_VT(&r.value.get()) == VT_R8) return {V_R8(&r.value.get())};
        return doublesOf(r.value.get());
    }

    // The user, on another thread: waits for the prompt in the status line, then acts.
    void actLater(const std::vector<Action>& actions, const std::wstring& prompt) {
        user_ = std::thread([this, actions, prompt] {
            sawPrompt_ = wintest::waitUntil([&] {
                wchar_t text[256] = {};
                GetWindowTextW(bar_, text, 256);
                return std::wstring(text).find(prompt) != std::wstring::npos;
            }, 10000);
            // Posted to the one window, they arrive in this order.
            for (const Action& a : actions) {
                switch (a.kind) {
                    case Action::Click:
                        PostMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.at.x, a.at.y));
                        PostMessageW(view_, WM_LBUTTONUP, 0, MAKELPARAM(a.at.x, a.at.y));
                        break;
                    case Action::Type:
                        for (const wchar_t* c = a.text; *c; ++c) PostMessageW(view_, WM_CHAR, *c, 1);
                        break;
                    case Action::Enter: PostMessageW(view_, WM_KEYDOWN, VK_RETURN, 1); break;
                    case Action::Escape: PostMessageW(view_, WM_KEYDOWN, VK_ESCAPE, 1); break;
                }
            }
        });
    }
    void TearDown() override {
        if (user_.joinable()) user_.join();
    }

    cad::com::ComInit com_;
    static inline std::unique_ptr<StandIn> cadsim_;
    HWND main_ = nullptr, bar_ = nullptr, view_ = nullptr;
    ComPtr<IDispatch> app_, doc_, utility_;
    std::thread user_;
    std::atomic<bool> sawPrompt_{false};
};

TEST_P(CadsimPrompts, AnsweredInTheView) {
    const PromptCase& c = GetParam();
    const auto centre = variable(L"VIEWCTR"), height = variable(L"VIEWSIZE"), size = variable(L"SCREENSIZE");
    ASSERT_GE(size.size(), 2u);  // SCREENSIZE is a point; a third element may follow
    const double k = size[1] / height.at(0);
    const auto drawingX = [&](LONG px) { return centre.at(0) + (px - size[0] / 2) / k; };
    const auto drawingY = [&](LONG py) { return centre.at(1) - (py - size[1] / 2) / k; };

    const std::wstring prompt = L"指示 prompt: ";
    actLater(c.actions, prompt);
    const CallResult r = call(utility_.get(), c.member, DISPATCH_METHOD, {omittedVariant().get(), bstrVariant(prompt).get()});
    user_.join();
    EXPECT_TRUE(sawPrompt_) << "the status line did not show the prompt";
    wchar_t after[256] = {};
    GetWindowTextW(bar_, after, 256);
    EXPECT_EQ(std::wstring(after), L"") << "the prompt stays in the status line after it was answered";

    if (!c.answered) {
        EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
        return;
    }
    ASSERT_HRESULT_SUCCEEDED(r.hr);
    const double tolerance = 1.0 / k;  // one pixel
    if (std::wstring(c.member) == L"GetPoint") {
        const std::vector<double> p = doublesOf(r.value.get());
        ASSERT_EQ(p.size(), 3u);
        const double x = c.fromClicks ? drawingX(c.actions[0].at.x) : c.x;
        const double y = c.fromClicks ? drawingY(c.actions[0].at.y) : c.y;
        EXPECT_NEAR(p[0], x, c.fromClicks ? tolerance : 1e-12);
        EXPECT_NEAR(p[1], y, c.fromClicks ? tolerance : 1e-12);
        EXPECT_EQ(p[2], 0.0);
    } else {
        ASSERT_EQ(V_VT(&r.value.get()), VT_R8);
        double expected = c.x;
        if (c.fromClicks) {
            const POINT a = c.actions[0].at, b = c.actions[1].at;
            expected = std::hypot(b.x - a.x, b.y - a.y) / k;
        }
        EXPECT_NEAR(V_R8(&r.value.get()), expected, c.fromClicks ? 2 * tolerance : 1e-12);
    }
}

using A = Action;
INSTANTIATE_TEST_SUITE_P(
    Table, CadsimPrompts,
    testing::Values(
        PromptCase{"PointByClick", L"GetPoint", {A{A::Click, {300, 200}}}, true, 0, 0, true},
        PromptCase{"PointTyped", L"GetPoint", {A{A::Type, {}, L"12.5,-3"}, A{A::Enter}}, true, 12.5, -3},
        PromptCase{"PointTypedBadThenGood", L"GetPoint",
                   {A{A::Type, {}, L"abc"}, A{A::Enter}, A{A::Type, {}, L"1,2"}, A{A::Enter}}, true, 1, 2},
        PromptCase{"PointEscape", L"GetPoint", {A{A::Escape}}, false},
        PromptCase{"DistanceByTwoClicks", L"GetDistance", {A{A::Click, {100, 100}}, A{A::Click, {400, 500}}}, true,
                   0, 0, true},
        PromptCase{"DistanceTyped", L"GetDistance", {A{A::Type, {}, L"42.25"}, A{A::Enter}}, true, 42.25},
        PromptCase{"DistanceEscapeAfterOneClick", L"GetDistance", {A{A::Click, {100, 100}}, A{A::Escape}}, false}),
    [](const testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.name); });

}  // namespace
