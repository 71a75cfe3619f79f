// The frame page ("任意枠配置"): finds the sheet frames of the drawing, shows them on a
// photograph of the CAD view, lets the user choose them and plots the chosen ones, each
// at its own scale and rotation.
#pragma once

#include <memory>

#include "app/device_lists.h"
#include "app/preview_canvas.h"
#include "sheets/capture_geometry.h"
#include "sheets/frame_record.h"
#include "sheets/print_scale.h"
#include "ui/widgets.h"

namespace app {

class MainWindow;

// What the page knows between its events: the frame list of the last capture (its order
// is plot order, a frame's `chosen` is its choice) and where the photograph shows them.
struct FrameSession {
    frames::FrameList frames;
    PreviewView view;                     // of the last capture that took a photograph
    std::shared_ptr<ui::Picture> photo;   // the clean photograph, without outlines or marks
    frames::Extents captureExtents;       // of the drawing, as last measured
    // Whether the frames came with their block attributes (read by a capture when the
    // file names need them).
    bool attributesRead = false;

    int chosenCount() const;
};

class FramePage {
public:
    explicit FramePage(MainWindow& window);

    // The controls (the control table fills them in).
    ui::TabSheet* sheet = nullptr;
    ui::Panel *toolbar = nullptr, *previewPanel = nullptr;
    ui::Button *captureButton = nullptr, *chooseAllButton = nullptr, *printButton = nullptr, *stopButton = nullptr;
    ui::Button *targetCadButton = nullptr, *listsButton = nullptr, *toolbarToggle = nullptr;
    ui::Edit *layer = nullptr, *printScale = nullptr, *chosenCount = nullptr;
    ui::ComboBox *printer = nullptr, *paper = nullptr, *styleTable = nullptr;
    ui::ComboBox *landscapeRotation = nullptr, *portraitRotation = nullptr;
    ui::CheckBox* fromTop = nullptr;
    ui::Image* preview = nullptr;

    FrameSession session;
    DeviceLists lists;

    // "キャプチャ": finds and orders the frames, photographs the view framed to the
    // drawing, outlines the frames and refreshes the lists.
    void capture();
    // A press on the photograph: the frame under it is chosen (left button) or released
    // (right button, or Shift or Ctrl held), shown in the CAD view, and its print scale
    // shown.
    void previewPressed(const ui::MouseEvent& e);
    // "すべて": chooses every frame, or releases them all (right button, Shift or Ctrl).
    void chooseOrReleaseAll(const ui::MouseEvent& e);
    // "左上から印刷する": orders the frames afresh and renumbers the chosen ones.
    void reorder();
    // "印刷": plots every chosen frame in list order.
    void print();
    void refreshLists() { lists.refresh(); }
    void printerChanged() { lists.printerChanged(); }
    void toggleToolbar();

    // The frame's print scale on the chosen paper, shown in "計算尺度" when the paper has
    // a size (otherwise the field keeps its text and `found` is false).
    plot::FrameScale showPrintScale(const frames::FrameRect& frame);

    // Outlines every frame on the photograph.
    void outlineFrames();

    // A batch plot runs on either page (the window tells both): the frame list keeps its
    // length and order, so the capture and the reorder are refused, and they, "印刷" and
    // the print settings are disabled until it ends.
    void setPlotRunning(bool running);
    bool plotRunning() const { return plotRunning_; }

private:
    void showChosenCount();
    PreviewCanvas canvas();

    MainWindow& window_;
    bool plotRunning_ = false;
};

}  // namespace app
