// MainWindow, the main window: its controls (built from the control table in
// control_table.cpp), the state its handlers share, and the handlers themselves.
// Handlers reach the platform only through the widget seam and the shell services.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/shell_services.h"
#include "cad/connect.h"
#include "sheets/frame_record.h"
#include "ui/widgets.h"

namespace app {

inline constexpr wchar_t kMainCaption[] = L"Quillon 2.06 [ nanoCAD ]";
inline constexpr int kDesignClientWidth = 478, kDesignClientHeight = 418;

class MainWindow;

// The events a control table row can bind.
enum class Event { None, Click, Change, MouseDown };

// One control of the window: what it is made from, where the window keeps it, and the
// handler its event runs.
struct ControlRow {
    ui::WidgetArgs args;
    // Stores the made control in the window's member for it; empty for a control no
    // code touches after it is made.
    std::function<void(MainWindow&, ui::Widget&)> keep;
    // The event the control's handler runs on, and the binding of that handler.
    Event event = Event::None;
    std::function<void(MainWindow&, ui::Widget&)> bind;
};

// Every control of the main window, parents before children, lower siblings first.
const std::vector<ControlRow>& mainWindowControls();

// The values the handlers share that live outside the window (one per process).
struct SharedState {
    frames::FrameList frames;                         // the frame list; its order is plot order
    double viewCentreX = 0, viewCentreY = 0;          // CAD view centre at the last frame capture
    double previewScale = 0;                          // drawing units per pixel of the frame preview
    double gridViewCentreX = 0, gridViewCentreY = 0;  // CAD view centre at the last grid capture
    double gridPreviewScale = 0;                      // drawing units per pixel of gridPhoto
    int gridColumns = 0, gridRows = 0;
    bool plotMayContinue = false;        // a batch plot may go on
    int monitorScaleFactor = 0;    // percent, read once at start-up
};

class MainWindow {
public:
    // Builds every control, binds the handlers and runs windowCreated (unless told not to, for
    // a test that watches it). `dpi` is the dpi of the monitor the window opens on.
    MainWindow(ui::WidgetFactory& widgets, desktop::ShellServices& shell, int dpi = 96, bool runFormCreate = true);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    ui::Form& form() { return *form_; }
    desktop::ShellServices& shell() { return shell_; }

    // The maker of the CAD host's application object. Without one every handler that
    // needs the CAD host finds none.
    void setCadLink(cad::CoApplication& creator) { cadCreator_ = &creator; }
    // connectToCad through the shell's window look-up and the CAD link.
    bool connectToCad(std::unique_ptr<cad::CadApplication>& application);

    // A frame batch plot runs: the frame list must keep its length and order, so the
    // capture and the reorder are refused and their controls disabled until it ends.
    void setFramePlotRunning(bool running);
    bool framePlotRunning() const { return framePlotRunning_; }
    // A grid batch plot runs: the grid must keep its counts and flags, so the page's
    // capture and picks are refused and their buttons disabled until it ends. Cell
    // clicks stay possible.
    void setGridPlotRunning(bool running);
    bool gridPlotRunning() const { return gridPlotRunning_; }

    // Window events. windowDestroyed is run by the backend when the window is destroyed
    // (at most once; later calls do nothing).
    void windowCreated();
    void windowDestroyed();

    // Handlers named in the control table.
    void captureGrid();
    void pickBasePoint();
    void chooseTargetCad();
    void printGrid();
    void refreshGridLists();
    void recomputePrintScale();
    void pickSpacing();
    void pickDrawingScale();
    void stopPlot();
    void captureFrames();
    void toggleToolbar();
    void printFrames();
    void refreshFrameLists();
    void reorderFrames();
    void gridPrinterChanged();
    void paperChanged();
    void framePrinterChanged();
    void chooseOrReleaseAllCells(const ui::MouseEvent& e);
    void chooseOrReleaseAllFrames(const ui::MouseEvent& e);
    void gridPreviewPressed(const ui::MouseEvent& e);
    void framePreviewPressed(const ui::MouseEvent& e);

    // Outlines every frame on the frame preview.
    void outlineFrames();
    // Recomputes the grid's counts from the inputs and the extents of the last grid
    // capture, releases every cell and outlines every sheet on the grid preview.
    void layOutGrid();

    // Fields of the window.
    struct Extents {
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
    };
    Extents gridExtents, frameExtents;  // of the drawing, at the last capture of each page
    std::vector<bool> chosenCells;
    std::wstring savedGridDevice, savedGridPaper, savedGridStyle;
    std::wstring savedFrameDevice, savedFramePaper, savedFrameStyle;
    std::shared_ptr<ui::Picture> gridPhoto, framePhoto;

    SharedState shared;

    // The controls.
    ui::PageControl* pageControl = nullptr;
    ui::TabSheet *gridSheet = nullptr, *frameSheet = nullptr;
    ui::Label* scaleLabel = nullptr;
    // frame page
    ui::Panel *frameToolbar = nullptr, *framePreviewPanel = nullptr;
    ui::Button *frameCaptureButton = nullptr, *toolbarToggle = nullptr, *frameTargetCadButton = nullptr, *frameChooseAllButton = nullptr;
    ui::Button *framePrintButton = nullptr, *frameStopButton = nullptr, *frameListsButton = nullptr;
    ui::Label *frameLayerLabel = nullptr, *framePrinterLabel = nullptr, *framePaperLabel = nullptr, *frameStyleLabel = nullptr;
    ui::Label *framePrintScaleLabel = nullptr, *landscapeRotationLabel = nullptr, *portraitRotationLabel = nullptr;
    ui::Edit *frameLayer = nullptr, *framePrintScale = nullptr, *chosenFrameCount = nullptr;
    ui::ComboBox *framePrinter = nullptr, *framePaper = nullptr, *frameStyleTable = nullptr;
    ui::ComboBox *landscapeRotation = nullptr, *portraitRotation = nullptr;
    ui::CheckBox* frameFromTop = nullptr;
    ui::Image* framePreview = nullptr;
    // equal-interval page
    ui::Panel* gridPreviewPanel = nullptr;
    ui::Button *gridCaptureButton = nullptr, *basePointButton = nullptr, *gridTargetCadButton = nullptr, *gridPrintButton = nullptr;
    ui::Button *gridListsButton = nullptr, *recomputeButton = nullptr, *spacingButton = nullptr, *drawingScaleButton = nullptr;
    ui::Button *gridStopButton = nullptr, *gridChooseAllButton = nullptr;
    ui::Label *gridPrinterLabel = nullptr, *gridPaperLabel = nullptr, *gridStyleLabel = nullptr;
    ui::Edit *basePoint = nullptr, *chosenCellCount = nullptr, *printScale = nullptr, *drawingScale = nullptr;
    ui::ComboBox *spacing = nullptr, *gridPrinter = nullptr, *gridPaper = nullptr;
    ui::ComboBox *gridStyleTable = nullptr, *sheetSize = nullptr, *sheetOrientation = nullptr;
    ui::CheckBox *autoPrintScale = nullptr, *gridFromTop = nullptr;
    ui::RadioGroup* gridRotation = nullptr;
    ui::Image* gridPreview = nullptr;

private:
    void buildControls();

    desktop::ShellServices& shell_;
    cad::CoApplication* cadCreator_ = nullptr;
    bool framePlotRunning_ = false;
    bool gridPlotRunning_ = false;
    std::unique_ptr<ui::Form> form_;
    bool destroyed_ = false;
};

}  // namespace app
