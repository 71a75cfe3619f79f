// libFuzzer target: any bytes as the settings file. The main window starts on the
// in-memory widgets and the scripted desktop and reads the file as the program does
// (byte-order mark or UTF-8 check, else the ANSI code page; the INI text; the values into
// the controls), ends and writes the file back, and a second start reads what the first
// wrote. Besides the sanitizers' faults, it stops on:
// - more than one message at a start (the reader gathers its complaints in one);
// - a written file that is not UTF-16LE after its byte-order mark;
// - a second start that complains about the written file other than by repeating the
//   first start's message (what the program could not read stays as the user wrote it),
//   or restores another window place, other check boxes or other list choices than the
//   first start had.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/settings.h"
#include "support/fake_shell.h"
#include "support/memory_widgets.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "settings fuzz: %s\n", what);
    std::abort();
}

// A folder of this process's own for quillon.exe's settings file, removed at exit.
struct Folder {
    fs::path dir = fs::temp_directory_path() / ("quillon-fuzz-settings-" + std::to_string(::getpid()));
    Folder() {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

// What a start restored that a second start must restore alike from the written file.
struct Restored {
    ui::Rect place;
    std::vector<bool> checks;
    std::vector<int> choices;
    bool operator==(const Restored&) const = default;
};

Restored restored(app::MainWindow& f) {
    return {f.form().windowRect(),
            {f.gridPage.autoPrintScale->checked(), f.gridPage.fromTop->checked(), f.framePage.fromTop->checked()},
            {f.gridPage.rotation->itemIndex(), f.framePage.landscapeRotation->itemIndex(),
             f.framePage.portraitRotation->itemIndex()}};
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One main window for every input, as building its controls costs far more than reading
// the file. A start sets every control from the file or to its default; only the
// window's place falls back to where the window is, so it goes back to the first place
// before each start, and what an input restores does not depend on the inputs before it.
struct Program {
    Folder folder;
    fs::path ini = folder.dir / "quillon.ini";
    testing_support::FakeShell shell;
    ui::MemoryWidgetFactory widgets;
    std::unique_ptr<app::MainWindow> window;
    ui::Rect firstPlace;

    Program() {
        shell.program = (folder.dir / "quillon.exe").wstring();
        window = std::make_unique<app::MainWindow>(widgets, shell);
        firstPlace = window->form().windowRect();
    }

    // A start of the program on the settings file as it is now; the messages it showed.
    std::vector<std::wstring> start() {
        window->form().setWindowRect(firstPlace);
        shell.messages.clear();
        app::readSettings(*window);
        return std::exchange(shell.messages, {});
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Program program;
    app::MainWindow& window = *program.window;
    std::ofstream(program.ini, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    const std::vector<std::wstring> firstMessages = program.start();
    if (firstMessages.size() > 1) fault("a start showed more than one message");
    const Restored first = restored(window);
    app::writeSettings(window);
    if (!program.shell.messages.empty()) fault("the end could not write the settings file");
    const std::string written = fileBytes(program.ini);
    if (!written.starts_with("\xFF\xFE") || written.size() % 2 != 0) fault("the written file is not UTF-16LE with its mark");

    const std::vector<std::wstring> again = program.start();
    if (!again.empty() && again != firstMessages) fault("a start complained about the file the last end wrote");
    if (!(restored(window) == first)) fault("a start restored other values from the file the last end wrote");
    program.shell.log.clear();
    return 0;
}
