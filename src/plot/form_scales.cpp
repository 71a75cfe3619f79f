// The grid print scale ("再計算"), the drawing sheet size and the frame print scale, read
// from and written to the main window's controls.
#include "plot/form_scales.h"

#include <string>

#include "common/numbers.h"

namespace app {

namespace {

// The entry at the item index; empty when nothing is chosen.
std::wstring chosenItem(const ui::ComboBox& box) {
    const int index = box.itemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= box.items().size()) return {};
    return box.items()[static_cast<std::size_t>(index)];
}

}  // namespace

// Whichever paper box ran it (ComboBox3Change serves both pages), it reads and writes the
// equal-interval page: spacing ComboBox1, drawing scale Edit4, sheet size ComboBox5,
// paper ComboBox3, print scale Edit3.
void TForm60::Button6Click(ui::Widget&) {
    const plot::GridScale result =
        plot::gridPrintScale(ComboBox1->text(), Edit4->text(), ComboBox5->text(), chosenItem(*ComboBox3));
    if (result.scale) Edit3->setText(common::formatFixed4(*result.scale));
    if (result.paperNotKnown) shell().showMessage(kPaperNotForScaleMessage);
}

void GetCadPaperSize(const TForm60& form, double& cadW, double& cadH) {
    const plot::SheetSize size = plot::cadPaperSize(form.ComboBox5->text(), form.ComboBox6->itemIndex(), form.Edit4->text());
    cadW = size.width;
    cadH = size.height;
}

plot::FrameScale showFramePrintScale(TForm60& form, const frames::TmvWaku& frame) {
    const plot::FrameScale result = plot::framePrintScale(frame, form.ComboBox8->text());
    if (result.found) form.Edit6->setText(common::formatFixed4(result.scale));
    return result;
}

}  // namespace app
