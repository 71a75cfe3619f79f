// connectToCad with the Win32 window look-up and COM creation: no host window, and a
// host window without the automation class behind it.
#include <gtest/gtest.h>

#include "com_cadsim.h"

namespace {

using namespace cad;

struct CountingCreator : CoApplication {
    int calls = 0;
    std::unique_ptr<CadApplication> Create() override {
        ++calls;
        return com::ComCoApplication().Create();
    }
};

struct StubApplication : CadApplication {
    std::unique_ptr<CadDocument> currentDocument() override { return nullptr; }
    void showWholeDrawing() override {}
    void showAreaInView(const CadPoint&, const CadPoint&) override {}
    void showPreviousView() override {}
    std::intptr_t mainWindowHandle() override { return 0; }
};

TEST(ComConnect, NoHostWindowGivesFalseAndCreatesNothing) {
    com::ComInit comInit;
    ASSERT_EQ(FindWindowW(nullptr, kHostWindowTitle), nullptr) << "a host window is already open";
    com::Win32HostWindowFinder windows;
    CountingCreator creator;
    std::unique_ptr<CadApplication> app = std::make_unique<StubApplication>();
    CadApplication* before = app.get();
    EXPECT_FALSE(connectToCad(app, windows, creator));
    EXPECT_EQ(creator.calls, 0);
    EXPECT_EQ(app.get(), before);
}

TEST(ComConnect, HostWindowWithoutTheAutomationClassGivesFalseAndAnEmptyReference) {
    com::ComInit comInit;
    ASSERT_EQ(FindWindowW(nullptr, kHostWindowTitle), nullptr) << "a host window is already open";
    HWND window = CreateWindowExW(0, L"STATIC", kHostWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    com::Win32HostWindowFinder windows;
    CountingCreator creator;
    std::unique_ptr<CadApplication> app = std::make_unique<StubApplication>();
    bool connected = true;
    EXPECT_NO_THROW(connected = connectToCad(app, windows, creator));
    EXPECT_FALSE(connected);
    EXPECT_EQ(creator.calls, 1);
    EXPECT_EQ(app, nullptr);
    DestroyWindow(window);
}

// Made by hand, the application object's failure tells the user what failed, and the
// system's own text for the code after it.
TEST(ComConnect, WithoutTheAutomationClassCreationFailsSayingWhat) {
    com::ComInit comInit;
    ASSERT_EQ(FindWindowW(nullptr, kHostWindowTitle), nullptr) << "a host window is already open";
    try {
        com::ComCoApplication().Create();
        ADD_FAILURE() << "created with no class registered";
    } catch (const CadError& e) {
        const std::wstring prefix = L"CAD のアプリケーション オブジェクトを作成できません: ";
        EXPECT_EQ(e.text().substr(0, prefix.size()), prefix) << e.what();
        EXPECT_NE(e.text().find(L"0x80040154"), std::wstring::npos) << e.what();  // REGDB_E_CLASSNOTREG
    }
}

}  // namespace
