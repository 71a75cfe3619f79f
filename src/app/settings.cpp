// The settings file: 29 keys in section "MORVEL" (the designed 23, ShowGrid, BlockWaku,
// PlotToFile, PlotFolder, PlotName and TargetCAD), read at start and written at the end;
// the user's target CADs in sections [CAD:<name>] are only read.
#include "app/settings.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "app/handler_failure.h"
#include "app/main_window.h"
#include "app/target_cads.h"
#include "base/file_replace.h"
#include "base/ini_file.h"
#include "base/names.h"
#include "base/text_codec.h"
#include "cad/value.h"

namespace app {

using base::IniFile;
using base::decodeText;
using base::readFileBytes;
using base::replaceFile;
using base::toPath;
using base::toUtf16Le;

namespace {

// Reads keys of the one section; a value that is not a number where a number belongs
// takes the default. A switch the user is invited to write by hand that cannot be read is
// described in `problems`.
struct Reader {
    const IniFile& ini;
    std::vector<std::wstring>& problems;

    std::wstring str(const wchar_t* key, const wchar_t* fallback) const {
        return ini.read(kSettingsSection, key).value_or(fallback);
    }
    int integer(const wchar_t* key, int fallback) const {
        const auto text = ini.read(kSettingsSection, key);
        if (!text) return fallback;
        return parseSettingsInt(*text).value_or(fallback);
    }
    bool boolean(const wchar_t* key, bool fallback) const { return integer(key, fallback ? 1 : 0) != 0; }
    // A switch the README shows the user (ShowGrid, BlockWaku, PlotToFile): off unless
    // the file turns it on.
    bool userSwitch(const wchar_t* key) const {
        const auto text = ini.read(kSettingsSection, key);
        if (!text) return false;
        if (const std::optional<bool> on = parseSettingsSwitch(*text)) return *on;
        problems.push_back(L"[" + std::wstring(kSettingsSection) + L"] の " + key + L"=" + *text +
                           L" は読めません (1 か 0、true か false、yes か no、on か off で書きます)。"
                           L"オフとして始めます。");
        return false;
    }
};

// The height of the caption bar that must stay inside the work area, so that the window
// can be taken and moved.
constexpr long long kCaptionBand = 32;

// The window rectangle the file asks for, placed on the primary screen: a size that is
// not positive is the designed one; a window wider or higher than the screen starts at
// its left or top edge; the caption bar lies inside the work area. Worked in 64 bits, so
// no value of the file can overflow.
ui::Rect placeOnScreen(const Reader& r, ui::Rect designed, desktop::ScreenSize screen, desktop::ScreenRect work) {
    const int width = r.integer(L"Width", designed.width), height = r.integer(L"Height", designed.height);
    ui::Rect w = designed;
    w.width = width > 0 ? width : designed.width;
    w.height = height > 0 ? height : designed.height;
    long long left = r.integer(L"Left", static_cast<int>((static_cast<long long>(screen.width) - w.width) / 2));
    long long top = r.integer(L"Top", static_cast<int>((static_cast<long long>(screen.height) - w.height) / 2));
    if (left + w.width > screen.width) left = static_cast<long long>(screen.width) - w.width;
    if (top + w.height > screen.height) top = static_cast<long long>(screen.height) - w.height;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    // A taskbar along the top or the bottom may cover the caption where the screen does not.
    if (top + kCaptionBand > work.bottom) top = static_cast<long long>(work.bottom) - kCaptionBand;
    if (top < work.top) top = work.top;
    if (left + kCaptionBand > work.right) left = static_cast<long long>(work.right) - kCaptionBand;
    if (left < work.left) left = work.left;
    w.left = static_cast<int>(left);
    w.top = static_cast<int>(top);
    return w;
}

std::wstring num(int v) { return std::to_wstring(v); }
std::wstring flag(bool v) { return v ? L"1" : L"0"; }

}  // namespace

std::wstring settingsPath(const std::wstring& programPath) {
    const std::size_t slash = programPath.find_last_of(L"\\/");
    const std::size_t dot = programPath.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    return (hasExtension ? programPath.substr(0, dot) : programPath) + L".ini";
}

std::optional<bool> parseSettingsSwitch(std::wstring_view t) {
    if (const std::optional<int> number = parseSettingsInt(t)) return *number != 0;
    for (const wchar_t* on : {L"true", L"yes", L"on"})
        if (base::sameNameIgnoringCase(t, on)) return true;
    for (const wchar_t* off : {L"false", L"no", L"off"})
        if (base::sameNameIgnoringCase(t, off)) return false;
    return std::nullopt;
}

std::optional<int> parseSettingsInt(std::wstring_view t) {
    const auto digit = [](wchar_t c, int base) -> int {
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (base == 16 && c >= L'a' && c <= L'f') return c - L'a' + 10;
        if (base == 16 && c >= L'A' && c <= L'F') return c - L'A' + 10;
        return -1;
    };
    if (t.size() > 2 && t[0] == L'0' && (t[1] == L'x' || t[1] == L'X')) {
        t.remove_prefix(2);
        if (t.size() > 8) return std::nullopt;
        std::uint32_t v = 0;
        for (wchar_t c : t) {
            const int d = digit(c, 16);
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(v);  // all 32 bits, as the toolkit reads hexadecimal
    }
    bool negative = false;
    if (!t.empty() && (t[0] == L'-' || t[0] == L'+')) {
        negative = t[0] == L'-';
        t.remove_prefix(1);
    }
    if (t.empty()) return std::nullopt;
    std::int64_t v = 0;
    for (wchar_t c : t) {
        const int d = digit(c, 10);
        if (d < 0) return std::nullopt;
        v = v * 10 + d;
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<int>(v);
}

namespace {

constexpr wchar_t kReadingStoppedText[] = L" 残りは既定の設定で始めます。このファイルは終了するときにも書き換えません。";

// The file's values into the window, in the designed order (the frame page's order check
// box runs its handler as it is set).
void applySettings(MainWindow& f, const Reader& r) {
    desktop::ShellServices& shell = f.shell();
    ui::Form& form = f.form();
    form.setWindowRect(placeOnScreen(r, form.windowRect(), shell.primaryScreenSize(), shell.primaryWorkArea()));

    f.gridPage.spacing->setText(r.str(L"dxdy", L"420,300"));
    f.gridPage.autoPrintScale->setChecked(r.boolean(L"Keisan", true));
    f.gridPage.fromTop->setChecked(r.boolean(L"Uekara", false));
    f.gridPage.lists.saved.device = r.str(L"devName", L"");
    f.gridPage.lists.saved.paper = r.str(L"paperName", L"");
    f.gridPage.lists.saved.style = r.str(L"styleName", L"");
    f.gridPage.printScale->setText(r.str(L"syakudo", L"1.4142"));
    f.gridPage.rotation->setItemIndex(r.integer(L"Kaiten", 1));
    f.gridPage.sheetSize->setText(r.str(L"ZumenSize", L"A3"));
    f.gridPage.basePoint->setText(r.str(L"kiten", L"0,0"));
    f.gridPage.drawingScale->setText(r.str(L"dimsc", L"1"));
    f.gridPage.sheetOrientation->setText(r.str(L"tateyoko", L"ヨコ"));
    f.framePage.fromTop->setChecked(r.boolean(L"Uekara2", false));  // runs the frame page's reorder when it changes
    f.framePage.lists.saved.device = r.str(L"devName2", L"");
    f.framePage.lists.saved.paper = r.str(L"paperName2", L"");
    f.framePage.lists.saved.style = r.str(L"styleName2", L"");
    f.framePage.layer->setText(r.str(L"mvLayer", L"MORVEL"));
    f.framePage.landscapeRotation->setItemIndex(r.integer(L"YokoKaiten", 1));
    f.framePage.portraitRotation->setItemIndex(r.integer(L"TateKaiten", 0));
    // The switches change the window only where the file differs from it (at a start
    // that is where the file turns them on), so that a second reading changes nothing.
    if (const bool on = r.userSwitch(L"ShowGrid"); on != f.gridPageShown()) f.showGridPage(on);
    if (const bool on = r.userSwitch(L"BlockWaku"); on != f.blockFrames()) f.setBlockFrames(on);
    f.fileOutput.folder = r.str(L"PlotFolder", L"");
    f.fileOutput.pattern = r.str(L"PlotName", plot::kDefaultNamePattern);
    if (const bool on = r.userSwitch(L"PlotToFile"); on != f.fileOutput.on) f.setPlotToFile(on);
    f.fileOutputKept = r.ini.read(kSettingsSection, L"PlotToFile") || r.ini.read(kSettingsSection, L"PlotFolder") ||
                       r.ini.read(kSettingsSection, L"PlotName") || f.fileOutput.on;
    f.setTargetCads(targetCadProfiles(r.ini, r.problems), r.str(L"TargetCAD", L""));
}

}  // namespace

void readSettings(MainWindow& f) {
    f.settingsUnread = false;
    std::wstring path;
    try {
        desktop::ShellServices& shell = f.shell();
        path = settingsPath(shell.programPath());
        IniFile ini;
        std::wstring problem;
        try {
            if (auto bytes = readFileBytes(toPath(path)))
                ini = IniFile(decodeText(*bytes, [&](std::string_view b) { return shell.decodeAnsi(b); }).text);
        } catch (const std::exception&) {
            problem = L"設定ファイル " + path + L" を読めません。既定の設定で始めます。";
        }
        std::vector<std::wstring> problems;
        try {
            applySettings(f, Reader{ini, problems});
        } catch (...) {
            // What was read stays; the rest keeps its default. The file is left as it is
            // at the end, so that nothing of it is lost.
            f.settingsUnread = true;
            problems.push_back(L"設定を読む途中で止まりました: " + failureInFlightText() + kReadingStoppedText);
        }
        if (!problems.empty()) {
            if (problem.empty()) problem = L"設定ファイル " + path + L" の設定:";
            for (const std::wstring& p : problems) problem += L"\n" + p;
        }
        if (!problem.empty()) shell.showMessage(problem);
    } catch (...) {
        // The shell's own services failed on the way: still one message, if it can be shown.
        f.settingsUnread = true;
        try {
            f.shell().showMessage(L"設定ファイル " + path + L" を読む途中で止まりました: " + failureInFlightText() +
                                  kReadingStoppedText);
        } catch (...) {
        }
    }
}

void writeSettings(MainWindow& f) {
    if (f.settingsUnread) return;  // said at the start
    desktop::ShellServices& shell = f.shell();
    const std::wstring path = settingsPath(shell.programPath());
    const std::wstring refused = path + L" に書き込めません";
    IniFile ini;
    try {
        // The rest of the file, and the name keys whose lists are empty, stay as they are.
        if (auto bytes = readFileBytes(toPath(path)))
            ini = IniFile(decodeText(*bytes, [&](std::string_view b) { return shell.decodeAnsi(b); }).text);
    } catch (const std::exception&) {
        shell.showMessage(refused);  // rewriting a file we cannot read would lose its other content
        return;
    }
    auto put = [&](const wchar_t* key, const std::wstring& value) { ini.write(kSettingsSection, key, value); };
    auto putName = [&](const wchar_t* key, const ui::ComboBox& list) {
        if (!list.text().empty()) put(key, list.text());
    };

    const ui::Rect w = f.restingWindowRect();
    put(L"Width", num(w.width));
    put(L"Height", num(w.height));
    put(L"Left", num(w.left));
    put(L"Top", num(w.top));
    put(L"dxdy", f.gridPage.spacing->text());
    put(L"Keisan", flag(f.gridPage.autoPrintScale->checked()));
    put(L"Uekara", flag(f.gridPage.fromTop->checked()));
    putName(L"devName", *f.gridPage.printer);
    putName(L"paperName", *f.gridPage.paper);
    putName(L"styleName", *f.gridPage.styleTable);
    put(L"syakudo", f.gridPage.printScale->text());
    put(L"Kaiten", num(f.gridPage.rotation->itemIndex()));
    put(L"ZumenSize", f.gridPage.sheetSize->text());
    put(L"kiten", f.gridPage.basePoint->text());
    put(L"dimsc", f.gridPage.drawingScale->text());
    put(L"tateyoko", f.gridPage.sheetOrientation->text());
    put(L"Uekara2", flag(f.framePage.fromTop->checked()));
    putName(L"devName2", *f.framePage.printer);
    putName(L"paperName2", *f.framePage.paper);
    putName(L"styleName2", *f.framePage.styleTable);
    put(L"mvLayer", f.framePage.layer->text());
    put(L"YokoKaiten", num(f.framePage.landscapeRotation->itemIndex()));
    put(L"TateKaiten", num(f.framePage.portraitRotation->itemIndex()));
    // Beyond the designed keys: written once the page was shown, so that a file of a user
    // who never asked for it stays as it was.
    // A switch the file gave in words it reads is written as 0 or 1; one it could not
    // read (named at the start) stays as the user wrote it until the user turns it on.
    auto putSwitch = [&](const wchar_t* key, bool on) {
        const std::optional<std::wstring> old = ini.read(kSettingsSection, key);
        if (on || !old || parseSettingsSwitch(*old)) put(key, flag(on));
    };
    if (f.gridPageShown() || ini.read(kSettingsSection, L"ShowGrid")) putSwitch(L"ShowGrid", f.gridPageShown());
    if (f.blockFrames() || ini.read(kSettingsSection, L"BlockWaku")) putSwitch(L"BlockWaku", f.blockFrames());
    // The file output's three keys together, once it was turned on or any of them was
    // there, so that the user finds the folder and the name pattern to edit.
    if (f.fileOutputKept) {
        putSwitch(L"PlotToFile", f.fileOutput.on);
        put(L"PlotFolder", f.fileOutput.folder);
        put(L"PlotName", f.fileOutput.pattern);
    }
    // Written once chosen; a saved name no profile has stays for when its section is back.
    if (f.targetChosen()) put(L"TargetCAD", f.targetCad().name);

    // UTF-16LE with a byte-order mark, as the system's profile functions write Unicode files.
    if (!replaceFile(toPath(path), "\xFF\xFE" + toUtf16Le(ini.text()))) shell.showMessage(refused);
}

}  // namespace app
