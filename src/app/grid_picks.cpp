// Taking the grid's base point, spacing and drawing scale from the CAD application: the
// two picks ("左下原点", "間隔") prompt in the CAD window with the main window out of the
// way and redraw the grid afresh; "尺度" reads the drawing's dimension scale.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/grid_page.h"
#include "app/main_window.h"
#include "base/numbers.h"
#include "base/scope_exit.h"
#include "cad/connect.h"
#include "ui/pixel_bitmap.h"

namespace app {

namespace {

constexpr wchar_t kBasePointPrompt[] = L"左下原点を指示 : ";
constexpr wchar_t kSpacingXPrompt[] = L"図面配置のX間隔を2点で指示、または距離を入力 : ";
constexpr wchar_t kSpacingYPrompt[] = L"図面配置のY間隔を2点で指示、 または距離を入力: ";
constexpr int kEscapeWaitMs = 5;

// "X,Y"; a number no host gives (not finite) takes nothing.
std::wstring pairText(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) throw std::runtime_error("CAD から有限の数値が返されませんでした");
    return base::formatGeneral(x) + L"," + base::formatGeneral(y);
}

// A clean photograph with the new grid, every cell released.
void redrawGridAfresh(GridPage& page) {
    if (const auto* clean = dynamic_cast<const ui::PixelBitmap*>(page.session.photo.get()))
        page.preview->setPicture(std::make_shared<ui::PixelBitmap>(*clean));
    page.layOutGrid();
    std::fill(page.session.chosenCells.begin(), page.session.chosenCells.end(), false);
    page.chosenCount->setText(L"0");
}

}  // namespace

// The steps both picks share around `pick`, which prompts through the document and
// writes what it got. The CAD window comes to the front and the always-on-top main
// window is minimised while the user answers there; a cancelled prompt is a failing
// call and ends the pick without a change. An Escape press then clears whatever the CAD
// window still waits for. The main window is back to normal at the end in every case.
void GridPage::runPick(const std::function<void(cad::CadDocument&)>& pick) {
    desktop::ShellServices& shell = window_.shell();
    const base::ScopeExit restoreAtEnd([&shell] { shell.restoreMainWindow(); });

    std::unique_ptr<cad::CadApplication> cadApp;
    if (!window_.connectToCad(cadApp)) return;
    try {
        const std::unique_ptr<cad::CadDocument> document = cadApp->currentDocument();
        try {
            shell.bringToForeground(cadApp->mainWindowHandle());
            shell.minimiseMainWindow();
            pick(*document);
            redrawGridAfresh(*this);
        } catch (const std::exception&) {
            // Cancelled or failed: nothing taken.
        }
        if (shell.foregroundWindow() == cadApp->mainWindowHandle()) {
            shell.pressEscapeKey();
            shell.sleep(kEscapeWaitMs);
        }
    } catch (const std::exception&) {
        // The CAD application failed; the main window is restored all the same.
    }
}

void GridPage::pickBasePoint() {
    if (plotRunning_) return;
    runPick([this](cad::CadDocument& document) {
        const cad::CadPoint p = document.inputUtility()->promptPoint(kBasePointPrompt);
        if (p.size() < 2) throw std::runtime_error("指示した点に X, Y がありません");
        basePoint->setText(pairText(p[0], p[1]));
    });
}

void GridPage::pickSpacing() {
    if (plotRunning_) return;
    runPick([this](cad::CadDocument& document) {
        const double dx = document.inputUtility()->promptDistance(kSpacingXPrompt);
        const double dy = document.inputUtility()->promptDistance(kSpacingYPrompt);
        spacing->setText(pairText(dx, dy));
    });
}

// Failures are not caught here: they reach the default error report, and drawingScale keeps
// its text.
void GridPage::pickDrawingScale() {
    if (plotRunning_) return;
    std::unique_ptr<cad::CadApplication> cadApp;
    if (!window_.connectToCad(cadApp)) return;
    const std::unique_ptr<cad::CadDocument> document = cadApp->currentDocument();
    drawingScale->setText(base::formatGeneral(cad::sysVarNumber(document->readSysVar(L"DIMSCALE"))));
}

}  // namespace app
