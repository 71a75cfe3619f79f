// A running cadsim.exe for tests: started with a command line, waited for until its
// window shows and its application object can be made, closed at the end; and a test
// fixture that connects to one serving a small drawing.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <algorithm>

#include "cad/com/co_application_win.h"
#include "cad/com/com_types_win.h"
#include "cad/connect.h"
#include "cad/ids.h"

namespace comtest {

// A folder of its own under the temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::filesystem::path(base) /
                (L"quillon_com_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount64()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path write(const std::wstring& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::wstring quoteArgument(const std::wstring& arg) { return L"\"" + arg + L"\""; }

class CadSim {
public:
    // Starts cadsim.exe with these arguments; ok() tells whether it came up.
    explicit CadSim(const std::vector<std::wstring>& args) {
        SetEnvironmentVariableW(L"CADSIM_NO_DIALOG", L"1");
        std::wstring exe = std::filesystem::path(QUILLON_BIN_DIR "/cadsim.exe").wstring();
        std::wstring line = quoteArgument(exe);
        for (const std::wstring& a : args) line += L" " + quoteArgument(a);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_)) {
            error_ = "cadsim.exe could not be started (error " + std::to_string(GetLastError()) + ")";
            return;
        }
        // A fresh prefix may refuse the first creations (REGDB_E_CLASSNOTREG) for a while.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            DWORD code = 0;
            if (GetExitCodeProcess(process_.hProcess, &code) && code != STILL_ACTIVE) {
                error_ = "cadsim.exe ended with exit code " + std::to_string(code);
                return;
            }
            if (FindWindowW(nullptr, cad::kHostWindowTitle)) {
                try {
                    cad::com::ComCoApplication().Create();
                    return;
                } catch (const cad::CadError&) {
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        error_ = "cadsim.exe did not serve its application object within 60 s";
    }

    ~CadSim() {
        if (!process_.hProcess) return;
        // Closed as a user would close it, so that it withdraws its class object.
        if (HWND main = findOwnWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 15000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    CadSim(const CadSim&) = delete;
    CadSim& operator=(const CadSim&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

private:
    HWND findOwnWindow() const {
        struct Search {
            DWORD pid;
            HWND found = nullptr;
        } search{process_.dwProcessId};
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                wchar_t title[32] = {};
                GetWindowTextW(w, title, 32);
                if (pid == s->pid && std::wstring(title) == cad::kHostWindowTitle) {
                    s->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION process_{};
    std::string error_;
};

// Model space: on FRAME a closed 420 x 297 frame, an open three-vertex polyline, an
// old-style closed polyline and a line; on "Other" a closed square. DIMSCALE 2.5.
inline const char kDrawing[] =
    "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DIMSCALE\n40\n2.5\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLWPOLYLINE\n8\nFRAME\n90\n4\n70\n1\n10\n0\n20\n0\n10\n420\n20\n0\n10\n420\n20\n297\n10\n0\n20\n297\n"
    "0\nLWPOLYLINE\n8\nFRAME\n90\n3\n70\n0\n10\n500\n20\n0\n10\n600\n20\n0\n10\n600\n20\n100\n"
    "0\nPOLYLINE\n8\nFRAME\n66\n1\n70\n1\n10\n0\n20\n0\n30\n0\n"
    "0\nVERTEX\n8\nFRAME\n10\n700\n20\n0\n30\n0\n0\nVERTEX\n8\nFRAME\n10\n800\n20\n0\n30\n0\n"
    "0\nVERTEX\n8\nFRAME\n10\n800\n20\n50\n30\n0\n0\nVERTEX\n8\nFRAME\n10\n700\n20\n50\n30\n0\n"
    "0\nSEQEND\n8\nFRAME\n"
    "0\nLINE\n8\nFRAME\n10\n0\n20\n400\n30\n0\n11\n100\n21\n400\n31\n0\n"
    "0\nLWPOLYLINE\n8\nOther\n90\n4\n70\n1\n10\n0\n20\n-100\n10\n50\n20\n-100\n10\n50\n20\n-50\n10\n0\n20\n-50\n"
    "0\nENDSEC\n0\nEOF\n";

inline const std::vector<double> kFrame{0, 0, 420, 0, 420, 297, 0, 297};
inline const std::vector<double> kOpen{500, 0, 600, 0, 600, 100};
inline const std::vector<double> kOldStyle{700, 0, 0, 800, 0, 0, 800, 50, 0, 700, 50, 0};

// A connection to a cadsim started with the fixture drawing and these options.
class CadSimTest : public testing::Test {
protected:
    // Starts cadsim on the fixture drawing and connects; throws when it cannot.
    void start(std::vector<std::wstring> options = {}, const std::string& answers = "point 10,20\ndistance 5\n") {
        stop();
        drawing = folder.write(L"fixture.dxf", kDrawing);
        trace = folder.path() / L"trace.txt";
        journal = folder.path() / L"journal.jsonl";
        folder.write(L"answers.txt", answers);
        std::vector<std::wstring> args{L"--trace", trace.wstring(), L"--journal", journal.wstring(), L"--plot-dir",
                                       folder.path().wstring(), L"--answers", (folder.path() / L"answers.txt").wstring()};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(drawing.wstring());
        sim = std::make_unique<CadSim>(args);
        if (!sim->ok()) throw std::runtime_error(sim->error());
        if (!cad::com::connectToCad(app)) throw std::runtime_error("connectToCad failed with cadsim running");
        doc = app->currentDocument();
    }
    void stop() {
        doc.reset();
        app.reset();
        sim.reset();
    }
    void TearDown() override { stop(); }

    std::int32_t countOf(const std::wstring& layer, const std::wstring& type) {
        auto set = cad::tempSelectionSet(*doc);
        cad::SelectionFilter filter{{8, 0}, {layer, type}};
        set->selectWithFilter(5, nullptr, nullptr, &filter);
        return set->entityCount();
    }
    // Chooses the first device that offers media ("None" offers none); its media list.
    static cad::StringList chooseDeviceWithMedia(cad::CadLayout& layout) {
        for (const std::wstring& device : layout.deviceList()) {
            layout.setDevice(device);
            layout.reloadDeviceInfo();
            cad::StringList media = layout.mediaList();
            if (!media.empty()) return media;
        }
        return {};
    }
    // (closed, coordinates) of every entity the filter selects, sorted.
    std::vector<std::pair<bool, std::vector<double>>> shapesOf(const std::wstring& layer, const std::wstring& type) {
        auto set = cad::tempSelectionSet(*doc);
        cad::SelectionFilter filter{{8, 0}, {layer, type}};
        set->selectWithFilter(5, nullptr, nullptr, &filter);
        std::vector<std::pair<bool, std::vector<double>>> shapes;
        for (std::int32_t i = 0; i < set->entityCount(); ++i) {
            auto entity = set->entityAt(i);
            shapes.emplace_back(entity->Closed(), entity->Coordinates());
        }
        std::sort(shapes.begin(), shapes.end());
        return shapes;
    }

    cad::com::ComInit comInit;
    TempFolder folder;
    std::filesystem::path drawing, trace, journal;
    std::unique_ptr<CadSim> sim;
    std::unique_ptr<cad::InanoCADApplication> app;
    std::unique_ptr<cad::CadDocument> doc;
};

}  // namespace comtest
