// The CAD goes silent in the middle of a frame run (its process paused, as a heavy sheet,
// a dialog of its own or a debugger would hold it): Quillon waits inside a call, and
// still answers the system meanwhile. When the CAD goes on, the run finishes with every
// chosen frame plotted exactly once; with "中止" pressed during the pause, the run stops
// after the sheet in hand.
//
// The press comes as its release alone: while a call is outstanding, Windows does not
// dispatch keyboard and mouse messages and may discard them (IMessageFilter::
// MessagePending, PENDINGMSG_WAITDEFPROCESS), and a button that never saw its press
// makes no click of a release. Wine keeps such messages, so the discarded press is
// played here by leaving it out.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tests/win/frame_road.h"

namespace {

using namespace road;
using quillon_test::QuillonProcess;
using quillon_test::waitUntil;

// A process held still (every thread suspended) for the life of the scope, or until
// resume().
class PausedProcess {
public:
    explicit PausedProcess(DWORD id) : process_(OpenProcess(PROCESS_SUSPEND_RESUME, FALSE, id)) {
        using Call = LONG(NTAPI*)(HANDLE);
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        suspend_ = reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtSuspendProcess")));
        resume_ = reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtResumeProcess")));
        paused_ = process_ && suspend_ && resume_ && suspend_(process_) >= 0;
    }
    ~PausedProcess() {
        resume();
        if (process_) CloseHandle(process_);
    }
    PausedProcess(const PausedProcess&) = delete;
    PausedProcess& operator=(const PausedProcess&) = delete;

    bool paused() const { return paused_; }
    void resume() {
        if (paused_) resume_(process_);
        paused_ = false;
    }

private:
    HANDLE process_;
    LONG(NTAPI* suspend_)(HANDLE) = nullptr;
    LONG(NTAPI* resume_)(HANDLE) = nullptr;
    bool paused_ = false;
};

struct PauseCase {
    const char* name;
    bool stopPressed;  // "中止" pressed while the CAD is paused
};

void PrintTo(const PauseCase& c, std::ostream* out) { *out << c.name; }

class QuillonBusyCad : public testing::TestWithParam<PauseCase> {};

// Which frame of the sample a job plotted; -1 for none.
int frameOf(const JournalJob& job) {
    const std::vector<SampleFrame>& frames = sampleFrames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Rect& f = frames[i].frame;
        if (job.window.size() == 4 && std::abs(job.window[0] - f.minx) < 1e-6 && std::abs(job.window[1] - f.miny) < 1e-6 &&
            std::abs(job.window[2] - f.maxx) < 1e-6 && std::abs(job.window[3] - f.maxy) < 1e-6)
            return static_cast<int>(i);
    }
    return -1;
}

TEST_P(QuillonBusyCad, TheRunWaitsForAPausedCadAndEndsAsTold) {
    const PauseCase& c = GetParam();
    const std::filesystem::path out = tempPath(L"quillon-busy-cad-" + std::to_wstring(GetCurrentProcessId()));
    std::error_code error;
    std::filesystem::remove_all(out, error);
    std::filesystem::create_directories(out / "sheets", error);
    const std::filesystem::path journal = out / "journal.jsonl";
    const std::size_t all = sampleFrames().size();
    std::size_t journaledAtPause = 0;
    {
        FrameRoad road(sampleDrawing(), settingsFor("MORVEL"),
                       {L"--journal", journal.wstring(), L"--plot-dir", (out / "sheets").wstring()});
        ASSERT_TRUE(road.ready());
        Preview p;
        ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
        QuillonProcess::click(road.allButton());
        ASSERT_TRUE(waitUntil([&] { return road.countText() == std::to_wstring(all); })) << road.countText();
        const HWND main = road.quillon().mainWindow();
        const HWND stop = road.quillon().controlWithText(L"中止");
        ASSERT_NE(stop, nullptr);

        QuillonProcess::click(road.printButton());
        ASSERT_TRUE(waitUntil([&] { return !readJournal(journal).empty(); }, 60000, 5)) << "no sheet plotted";
        PausedProcess pause(road.cadsim().id());
        ASSERT_TRUE(pause.paused()) << "the stand-in could not be paused";
        journaledAtPause = readJournal(journal).size();
        ASSERT_LT(journaledAtPause, all) << "the run was over before the CAD paused";
        Sleep(300);  // Quillon is inside a call to the CAD by now

        // The release first, while Quillon sits in its wait: Wine asks the filter about
        // messages that wake the wait, not about one that comes while it handles others
        // (such a message stays queued for after the call: Wine discards nothing).
        if (c.stopPressed) {
            RECT r{};
            GetClientRect(stop, &r);
            PostMessageW(stop, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
            Sleep(300);
        }
        DWORD_PTR answer = 0;
        EXPECT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer))
            << "Quillon did not answer while it waited for the CAD";
        EXPECT_FALSE(IsWindowEnabled(road.printButton())) << "the run did not wait for the CAD";
        pause.resume();
        EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(road.printButton()) != FALSE; }, 120000))
            << "the run did not end";
    }

    const std::vector<JournalJob> jobs = readJournal(journal);
    if (c.stopPressed) {
        EXPECT_GE(jobs.size(), journaledAtPause);
        EXPECT_LE(jobs.size(), journaledAtPause + 1) << "the run went on past the sheet in hand";
    } else {
        EXPECT_EQ(jobs.size(), all);
    }
    std::set<int> plotted;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        EXPECT_EQ(jobs[i].job, int(i + 1));
        const int frame = frameOf(jobs[i]);
        EXPECT_NE(frame, -1) << "job " << i + 1 << " plotted no frame of the drawing";
        EXPECT_TRUE(plotted.insert(frame).second) << "job " << i + 1 << " plotted a frame again";
    }
    std::filesystem::remove_all(out, error);
}

INSTANTIATE_TEST_SUITE_P(Pause, QuillonBusyCad,
                         testing::Values(PauseCase{"the_cad_goes_on", false},
                                         PauseCase{"stop_pressed_meanwhile", true}),
                         [](const testing::TestParamInfo<PauseCase>& info) { return std::string(info.param.name); });

}  // namespace
