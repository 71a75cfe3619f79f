#include "app/sheet_files.h"

#include <optional>
#include <utility>

#include "app/plot_run.h"
#include "sheets/plot_settings.h"

namespace app {

namespace {

// A folder given from a drive ("C:\..."), a network share ("\\server\...") or the root ("/...").
bool absoluteFolder(const std::wstring& folder) {
    return (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) ||
           folder.rfind(L"\\\\", 0) == 0 || folder.rfind(L"/", 0) == 0;
}

std::wstring fileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

}  // namespace

std::unique_ptr<SheetFiles> SheetFiles::open(desktop::ShellServices& shell, const FileOutput& output,
                                             cad::CadDocument& document, const std::wstring& device) {
    if (const std::optional<std::wstring> problem = plot::patternProblem(output.pattern)) {
        shell.showMessage(*problem);
        return nullptr;
    }
    std::wstring folder = output.folder;
    if (!absoluteFolder(folder)) {
        std::wstring base = document.drawingFolder();
        if (base.empty()) base = shell.documentsFolder();
        if (base.empty()) {
            shell.showMessage(L"ファイルの出力先のフォルダーがわかりません。設定ファイルの PlotFolder= に書いてください。");
            return nullptr;
        }
        folder = folder.empty() ? base : plot::joinPath(base, folder);
    }
    if (!shell.makeFolder(folder)) {
        shell.showMessage(L"ファイルの出力先のフォルダー " + folder + L" を作れません。");
        return nullptr;
    }
    plot::SheetFields fields;
    fields.drawing = plot::drawingStem(document.drawingName());
    fields.date = shell.localDate();
    return std::unique_ptr<SheetFiles>(
        new SheetFiles(std::move(folder), output.pattern, std::move(fields), plot::plotFileExtension(device), shell));
}

SheetFiles::SheetFiles(std::wstring folder, std::wstring pattern, plot::SheetFields fields, std::wstring extension,
                       desktop::ShellServices& shell)
    : folder_(std::move(folder)),
      pattern_(std::move(pattern)),
      fields_(std::move(fields)),
      names_(folder_, std::move(extension), [&shell](const std::wstring& path) { return shell.pathExists(path); }) {}

bool SheetFiles::plot(cad::CadDocument& document, const std::vector<cad::BlockAttribute>* attributes) {
    ++fields_.number;
    fields_.attributes = attributes;
    // A name too long for the folder is shortened in its free text, never refused.
    const std::wstring path =
        names_.next([this](std::size_t room) { return plot::sheetBaseName(pattern_, fields_, room); });
    fields_.attributes = nullptr;
    const bool written = plot::requestPlotToFile(document, path);
    (written ? written_ : refused_).push_back(fileNameOf(path));
    return written;
}

void SheetFiles::report(desktop::ShellServices& shell, const std::optional<std::wstring>& stopped) const {
    if (written_.empty()) {
        if (stopped) shell.showMessage(*stopped);
        else if (!refused_.empty()) shell.showMessage(refusedSheetsMessage(0, refused_));
        return;
    }
    std::wstring text = stopped ? *stopped + L"\n\n" : std::wstring();
    text += L"次のフォルダーに " + std::to_wstring(written_.size()) + L" 個のファイルを書き出しました。\n" + folder_;
    if (!stopped && !refused_.empty())
        text += L"\n\n" + refusedSheetsMessage(static_cast<int>(written_.size()), refused_);
    text += L"\n\nフォルダーを開きますか?";
    if (shell.askYesNo(text)) shell.openFolder(folder_);
}

}  // namespace app
