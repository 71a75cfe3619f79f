// connectToCad with the Win32 window look-up and COM creation: no host window, and a
// host window without the automation class behind it.
#include <gtest/gtest.h>

#include "com_cadsim.h"

namespace {

using namespace cad;

struct CountingCreator : CoApplication {
    int calls = 0;
    std::unique_ptr<CadApplication> Create(const CadProfile& profile) override {
        ++calls;
        return com::ComCoApplication().Create(profile);
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
        com::ComCoApplication().Create(builtInProfiles().front());
        ADD_FAILURE() << "created with no class registered";
    } catch (const CadError& e) {
        const std::wstring prefix = L"CAD のアプリケーション オブジェクトを作成できません: ";
        EXPECT_EQ(e.text().substr(0, prefix.size()), prefix) << e.what();
        EXPECT_NE(e.text().find(L"0x80040154"), std::wstring::npos) << e.what();  // REGDB_E_CLASSNOTREG
    }
}

// A profile found by the beginning of its window title, its object by a ProgID: a
// ProgID nobody registered, and one registered whose object is not running, each fail
// saying so; nothing is started.
TEST(ComConnect, AProgIdProfileTakesOnlyARunningObject) {
    com::ComInit comInit;
    const std::wstring title = L"Quillon test CAD - [drawing.dwg]";
    HWND window = CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    com::Win32HostWindowFinder windows;
    EXPECT_TRUE(windows.topLevelWindowTitleBegins(L"Quillon test CAD"));
    EXPECT_FALSE(windows.topLevelWindowTitleBegins(L"Quillon test CAD 2"));
    EXPECT_FALSE(windows.topLevelWindowExists(L"Quillon test CAD"));

    CadProfile profile;
    profile.name = L"Test";
    profile.windowTitle = L"Quillon test CAD";
    profile.titleIsPrefix = true;
    profile.progId = L"QuillonTest.NotRegistered";
    const auto refusal = [&] {
        try {
            com::ComCoApplication().Create(profile);
        } catch (const CadError& e) {
            return e.text();
        }
        return std::wstring(L"(made)");
    };
    EXPECT_EQ(refusal().rfind(L"QuillonTest.NotRegistered は登録されていません: ", 0), 0u) << refusal();

    // Registered for a class nobody serves (the stand-in's class id, no stand-in running),
    // in the machine's classes, where Wine looks ProgIDs up.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\QuillonTest.Registered\\CLSID", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring clsid = kApplicationClassId;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                   static_cast<DWORD>((clsid.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    profile.progId = L"QuillonTest.Registered";
    EXPECT_EQ(refusal().rfind(L"QuillonTest.Registered の実行中のオブジェクトがありません: ", 0), 0u) << refusal();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\QuillonTest.Registered");

    std::unique_ptr<CadApplication> app;
    com::ComCoApplication creator;
    EXPECT_FALSE(connectToCad(app, windows, creator, profile));
    DestroyWindow(window);
}

}  // namespace
