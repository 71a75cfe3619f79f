// The grid print scale ("再計算"), the drawing sheet size and the frame print scale, read
// from and written to the main window's controls.
#include "app/form_scales.h"

#include <string>

#include "base/numbers.h"

namespace app {

namespace {

// The entry at the item index; empty when nothing is chosen.
std::wstring chosenItem(const ui::ComboBox& box) {
    const int index = box.itemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= box.items().size()) return {};
    return box.items()[static_cast<std::size_t>(index)];
}

}  // namespace

// Whichever paper box ran it (paperChanged serves both pages), it reads and writes the
// equal-interval page: spacing spacing, drawing scale drawingScale, sheet size sheetSize,
// paper gridPaper, print scale printScale.
void MainWindow::recomputePrintScale() {
    const plot::GridScale result =
        plot::gridPrintScale(spacing->text(), drawingScale->text(), sheetSize->text(), chosenItem(*gridPaper));
    if (result.scale) printScale->setText(base::formatFixed4(*result.scale));
    if (result.paperNotKnown) shell().showMessage(kPaperNotForScaleMessage);
}

void GetCadPaperSize(const MainWindow& form, double& cadW, double& cadH) {
    const plot::SheetSize size = plot::cadPaperSize(form.sheetSize->text(), form.sheetOrientation->itemIndex(), form.drawingScale->text());
    cadW = size.width;
    cadH = size.height;
}

plot::FrameScale showFramePrintScale(MainWindow& form, const frames::FrameRect& frame) {
    const plot::FrameScale result = plot::framePrintScale(frame, form.framePaper->text());
    if (result.found) form.framePrintScale->setText(base::formatFixed4(result.scale));
    return result;
}

}  // namespace app
