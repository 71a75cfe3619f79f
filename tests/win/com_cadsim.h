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
#include "sim/win/frame_window_win.h"
#include "tests/win/stand_in.h"

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

// A stand-in that serves its application object: its window is up and a client can
// create the object. Throws with the reason when it does not come within 60 s.
inline std::unique_ptr<cadsim_test::StandIn> servingStandIn(const std::vector<std::wstring>& args) {
    auto sim = std::make_unique<cadsim_test::StandIn>(args);
    if (!sim->started()) throw std::runtime_error(sim->output());
    if (!sim->waitForMainWindow(60000)) {
        const DWORD code = sim->waitForExit(0);
        throw std::runtime_error(code == STILL_ACTIVE ? "cadsim.exe showed no window within 60 s"
                                                      : "cadsim.exe ended with exit code " + std::to_string(code) +
                                                            ": " + sim->output());
    }
    // A fresh prefix may refuse the first creations (REGDB_E_CLASSNOTREG) for a while.
    cad::com::ComPtr<IUnknown> unknown;
    if (FAILED(cadsim_test::createApplication(unknown, 60000)))
        throw std::runtime_error("cadsim.exe did not serve its application object within 60 s");
    return sim;
}

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

// On FRAME, polylines of both kinds by turns in drawing order: a closed lightweight
// 420 x 297 frame, an old-style closed 420 x 297 frame (three numbers a vertex), a
// lightweight frame beside them and an open old-style polyline.
inline const char kMixedPolylines[] =
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLWPOLYLINE\n8\nFRAME\n90\n4\n70\n1\n10\n0\n20\n0\n10\n420\n20\n0\n10\n420\n20\n297\n10\n0\n20\n297\n"
    "0\nPOLYLINE\n8\nFRAME\n66\n1\n70\n1\n10\n0\n20\n0\n30\n0\n"
    "0\nVERTEX\n8\nFRAME\n10\n500\n20\n0\n30\n0\n0\nVERTEX\n8\nFRAME\n10\n920\n20\n0\n30\n0\n"
    "0\nVERTEX\n8\nFRAME\n10\n920\n20\n297\n30\n0\n0\nVERTEX\n8\nFRAME\n10\n500\n20\n297\n30\n0\n"
    "0\nSEQEND\n8\nFRAME\n"
    "0\nLWPOLYLINE\n8\nFRAME\n90\n4\n70\n1\n10\n1000\n20\n0\n10\n1420\n20\n0\n10\n1420\n20\n297\n10\n1000\n20\n297\n"
    "0\nPOLYLINE\n8\nFRAME\n66\n1\n70\n0\n10\n0\n20\n0\n30\n0\n"
    "0\nVERTEX\n8\nFRAME\n10\n0\n20\n400\n30\n0\n0\nVERTEX\n8\nFRAME\n10\n100\n20\n400\n30\n0\n"
    "0\nVERTEX\n8\nFRAME\n10\n100\n20\n500\n30\n0\n"
    "0\nSEQEND\n8\nFRAME\n"
    "0\nENDSEC\n0\nEOF\n";

// The fixture drawing with a block of a 420 x 297 outline, referenced on "Blocks" at
// (1000, 0) turned a quarter: its box is (703, 0) to (1000, 420). The reference gives
// SHEET_NO "A-101", placed inside that box, and TITLE "1F PLAN", invisible.
inline const std::string kDrawingWithBlock = [] {
    std::string text = kDrawing;
    const std::string entities = "0\nSECTION\n2\nENTITIES\n";
    text.replace(text.find(entities), entities.size(),
                 "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nSheet\n70\n0\n10\n0\n20\n0\n"
                 "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n0\n20\n0\n10\n420\n20\n0\n10\n420\n20\n297\n10\n0\n20\n297\n"
                 "0\nENDBLK\n0\nENDSEC\n" + entities);
    const std::string end = "0\nENDSEC\n0\nEOF\n";
    text.replace(text.rfind(end), end.size(),
                 "0\nINSERT\n8\nBlocks\n66\n1\n2\nSheet\n10\n1000\n20\n0\n50\n90\n"
                 "0\nATTRIB\n8\nBlocks\n10\n900\n20\n100\n40\n5\n1\nA-101\n2\nSHEET_NO\n70\n0\n"
                 "0\nATTRIB\n8\nBlocks\n10\n900\n20\n200\n40\n5\n1\n1F PLAN\n2\nTITLE\n70\n1\n"
                 "0\nSEQEND\n8\nBlocks\n" + end);
    return text;
}();

inline const std::vector<double> kFrame{0, 0, 420, 0, 420, 297, 0, 297};
inline const std::vector<double> kOpen{500, 0, 600, 0, 600, 100};
inline const std::vector<double> kOldStyle{700, 0, 0, 800, 0, 0, 800, 50, 0, 700, 50, 0};

// The fixture drawing in a folder of its own, with the stand-in's trace, journal and
// answers beside it, and a stand-in serving it.
struct ServedFixture {
    ServedFixture(const std::vector<std::wstring>& options, const std::string& answers,
                  const char* drawingText = kDrawing) {
        drawing = folder.write(L"fixture.dxf", drawingText);
        trace = folder.path() / L"trace.txt";
        journal = folder.path() / L"journal.jsonl";
        folder.write(L"answers.txt", answers);
        std::vector<std::wstring> args{L"--trace", trace.wstring(), L"--journal", journal.wstring(), L"--plot-dir",
                                       folder.path().wstring(), L"--answers", (folder.path() / L"answers.txt").wstring()};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(drawing.wstring());
        sim = servingStandIn(args);
    }
    TempFolder folder;
    std::filesystem::path drawing, trace, journal;
    std::unique_ptr<cadsim_test::StandIn> sim;
};

// A connection to a cadsim serving the fixture drawing. Cases that only read share one
// stand-in for the whole suite (startShared); cases that inject faults, consume answers
// or read the trace start one of their own (start).
class CadSimTest : public testing::Test {
protected:
    // Connects to the suite's stand-in, started on first use; throws when it cannot.
    void startShared() {
        stop();
        if (!shared()) shared() = std::make_unique<ServedFixture>(std::vector<std::wstring>{}, kAnswers);
        connect(*shared());
    }
    // Starts a stand-in of the case's own on the fixture drawing (or another) and
    // connects; throws when it cannot.
    void start(std::vector<std::wstring> options = {}, const std::string& answers = kAnswers,
               const char* drawing = kDrawing) {
        stop();
        shared().reset();  // a client reaches one stand-in only when one runs
        own_ = std::make_unique<ServedFixture>(options, answers, drawing);
        connect(*own_);
    }
    // Replaces the running stand-in's injected faults and prompt answers (options as on
    // its command line: --fail, --garble); its rules count calls from here.
    void replaceFaults(const std::vector<std::wstring>& options, const std::string& answers = kAnswers) {
        ServedFixture& served = own_ ? *own_ : *shared();
        std::wstring data;
        for (const std::wstring& o : options) data += o + L"\n";
        data += L"--answers\n" + served.folder.write(L"answers.txt", answers).wstring() + L"\n";
        COPYDATASTRUCT copy{sim::kReplaceFaultsData, DWORD(data.size() * sizeof(wchar_t)), data.data()};
        DWORD_PTR taken = 0;
        const HWND host = FindWindowW(nullptr, cad::kHostWindowTitle);
        if (!SendMessageTimeoutW(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, 10000,
                                 &taken) ||
            taken != 1)
            throw std::runtime_error("the stand-in did not take the faults: " + served.sim->output());
    }
    void stop() {
        doc.reset();
        app.reset();
        own_.reset();
    }
    void TearDown() override { stop(); }
    static void TearDownTestSuite() { shared().reset(); }

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
    std::filesystem::path trace, journal;  // those of the stand-in in use
    std::unique_ptr<cad::CadApplication> app;
    std::unique_ptr<cad::CadDocument> doc;
    static constexpr char kAnswers[] = "point 10,20\ndistance 5\n";

private:
    static std::unique_ptr<ServedFixture>& shared() {
        static std::unique_ptr<ServedFixture> fixture;
        return fixture;
    }
    void connect(ServedFixture& served) {
        trace = served.trace;
        journal = served.journal;
        if (!cad::com::connectToCad(app)) throw std::runtime_error("connectToCad failed with cadsim running");
        doc = app->currentDocument();
    }
    std::unique_ptr<ServedFixture> own_;
};

}  // namespace comtest
