// A run's sheets written to files of their own ("ファイルに出力"): the folder, each
// sheet's name from the user's pattern, and the word at the end of the run.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cad/automation.h"
#include "desktop/shell_services.h"
#include "sheets/sheet_names.h"

namespace app {

// The system menu's item, and the settings that go with it.
inline constexpr wchar_t kPlotToFileItem[] = L"ファイルに出力";

struct FileOutput {
    bool on = false;
    // Empty: the drawing's own folder (the Documents folder for a drawing never saved);
    // a relative folder lies in the drawing's folder.
    std::wstring folder;
    std::wstring pattern = plot::kDefaultNamePattern;
};

class SheetFiles {
public:
    // Finds and makes the run's folder and takes the drawing's name, the date and the
    // device's extension. Nothing, after telling the user why, when the pattern cannot be
    // used, no folder is known or it cannot be made. Host errors reach the caller.
    static std::unique_ptr<SheetFiles> open(desktop::ShellServices& shell, const FileOutput& output,
                                            cad::CadDocument& document, const std::wstring& device);

    // The next sheet, in plot order, to a file of its own name; `attributes` are the
    // frame's block attributes, if any. True when the host wrote it.
    bool plot(cad::CadDocument& document, const std::vector<cad::BlockAttribute>* attributes);

    // The word at the end of a run in which any sheet was sent: the folder and the files
    // written, with the offer to open the folder; the sheets the host refused, by name.
    // A run that a failure stopped says so first (`stopped`, the run's message).
    void report(desktop::ShellServices& shell, const std::optional<std::wstring>& stopped) const;
    // The names of the files the host refused, in plot order.
    const std::vector<std::wstring>& refused() const { return refused_; }

    const std::wstring& folder() const { return folder_; }

private:
    SheetFiles(std::wstring folder, std::wstring pattern, plot::SheetFields fields, std::wstring extension,
               desktop::ShellServices& shell);

    std::wstring folder_, pattern_;
    plot::SheetFields fields_;
    plot::SheetFileNames names_;
    std::vector<std::wstring> written_, refused_;  // file names, in plot order
};

}  // namespace app
