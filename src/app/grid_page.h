// The equal-interval page ("等間隔配置"): a grid of sheets of one size laid out from a
// base point at a fixed spacing over the drawing, shown on a photograph of the CAD view;
// the user chooses cells and plots them at one print scale and rotation.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/device_lists.h"
#include "app/preview_canvas.h"
#include "sheets/capture_geometry.h"
#include "sheets/grid_model.h"
#include "ui/widgets.h"

namespace app {

class MainWindow;

// Told when a base point and spacing would lay out more sheets than a grid may hold.
inline constexpr wchar_t kTooManyCellsMessage[] =
    L"図面の数が多すぎます．\n左下原点と間隔を確かめて下さい．";
// Told by "再計算" when the chosen paper has no A or B size code.
inline constexpr wchar_t kPaperNotForScaleMessage[] =
    L"尺度自動計算の用紙サイズは A0～A9.B0～B9 のみです．\n手動で尺度を計算して下さい．";

// What the page knows between its events: the grid's counts as last laid out, the
// chosen cells (entry r x columns + c) and where the photograph shows the drawing.
struct GridSession {
    int columns = 0, rows = 0;
    std::vector<bool> chosenCells;
    PreviewView view;                     // of the last capture that took a photograph
    std::shared_ptr<ui::Picture> photo;   // the clean photograph, without outlines or marks
    frames::Extents captureExtents;       // the drawing's extents at the last capture

    bool cellChosen(int c, int r) const;  // false for a cell the flags do not reach
    void choose(int c, int r, bool chosen);  // ignored for a cell the flags do not reach
    int chosenCount() const;
};

class GridPage {
public:
    explicit GridPage(MainWindow& window);

    // The controls (the control table fills them in).
    ui::TabSheet* sheet = nullptr;
    ui::Panel* previewPanel = nullptr;
    ui::Button *captureButton = nullptr, *basePointButton = nullptr, *spacingButton = nullptr;
    ui::Button *drawingScaleButton = nullptr, *recomputeButton = nullptr, *chooseAllButton = nullptr;
    ui::Button *printButton = nullptr, *stopButton = nullptr, *targetCadButton = nullptr, *listsButton = nullptr;
    ui::Edit *basePoint = nullptr, *drawingScale = nullptr, *printScale = nullptr, *chosenCount = nullptr;
    ui::ComboBox *spacing = nullptr, *sheetSize = nullptr, *sheetOrientation = nullptr;
    ui::ComboBox *printer = nullptr, *paper = nullptr, *styleTable = nullptr;
    ui::CheckBox *autoPrintScale = nullptr, *fromTop = nullptr;
    ui::RadioGroup* rotation = nullptr;
    ui::Image* preview = nullptr;

    GridSession session;
    DeviceLists lists;

    // The grid as the page's fields define it now: base point and spacing ("X,Y"), and
    // the drawing sheet size from sheet size, orientation and drawing scale.
    grid::Layout layout() const;

    // "キャプチャ": the drawing scale, the extents and the photograph of the CAD view,
    // then the grid laid out afresh and the lists refreshed.
    void capture();
    // "左下原点", "間隔": prompt in the CAD window and lay the grid out afresh; "尺度"
    // reads the drawing's dimension scale.
    void pickBasePoint();
    void pickSpacing();
    void pickDrawingScale();
    // "再計算": the print scale from the drawing scale, sheet size and paper.
    void recomputePrintScale();
    // A paper picked on either page: the print scale follows when "自動計算" is checked.
    void paperChanged();
    // A press on the photograph chooses or releases the cell under it.
    void previewPressed(const ui::MouseEvent& e);
    // "すべて": chooses every cell whose sheet holds drawing content, or releases all.
    void chooseOrReleaseAll(const ui::MouseEvent& e);
    // "印刷": plots every chosen cell at the page's print scale and rotation.
    void print();
    void refreshLists() { lists.refresh(); }
    void printerChanged() { lists.printerChanged(); }

    // Recomputes the counts from the fields and the extents of the last capture, releases
    // every cell and outlines every sheet on the photograph.
    void layOutGrid();

    // A batch plot runs on either page (the window tells both): the grid keeps its counts
    // and flags, so the capture and picks are refused, and they, "印刷", the print
    // settings and the fields of the sheet size and the scales are disabled until it
    // ends. Cell presses stay possible.
    void setPlotRunning(bool running);
    bool plotRunning() const { return plotRunning_; }

private:
    void showChosenCount();
    PreviewCanvas canvas();
    void runPick(const std::function<void(cad::CadDocument&)>& pick);

    MainWindow& window_;
    bool plotRunning_ = false;
};

}  // namespace app
