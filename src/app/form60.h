// TForm60, the main window: its controls (built from the control table in
// form60_controls.cpp), the state its handlers share, and the handlers themselves.
// Handlers reach the platform only through the widget seam and the shell services.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/shell_services.h"
#include "cad/connect.h"
#include "frames/frame_record.h"
#include "platform/widgets.h"

namespace app {

inline constexpr wchar_t kMainCaption[] = L"Quillon 2.06 [ nanoCAD ]";
inline constexpr int kDesignClientWidth = 478, kDesignClientHeight = 418;

// The events a control table row can bind.
enum class Event { None, Click, Change, MouseDown };

struct ControlRow {
    ui::WidgetArgs args;
    Event event = Event::None;
    std::string handler;  // member of TForm60, by name
};

// Every control of the main window, parents before children, lower siblings first.
const std::vector<ControlRow>& form60Controls();

// The values the handlers share that live outside the window (one per process).
struct UnitState {
    frames::FrameList frames;                         // the frame list; its order is plot order
    double viewCentreX = 0, viewCentreY = 0;          // CAD view centre at the last frame capture
    double previewScale = 0;                          // drawing units per pixel of the frame preview
    double gridViewCentreX = 0, gridViewCentreY = 0;  // CAD view centre at the last grid capture
    double gridPreviewScale = 0;                      // drawing units per pixel of CaptBmp
    int gridColumns = 0, gridRows = 0;
    bool abortFlag = false;        // a batch plot may go on
    int monitorScaleFactor = 0;    // percent, read once at start-up
};

class TForm60 {
public:
    // Builds every control, binds the handlers and runs FormCreate (unless told not to, for
    // a test that watches it). `dpi` is the dpi of the monitor the window opens on.
    TForm60(ui::WidgetFactory& widgets, ShellServices& shell, int dpi = 96, bool runFormCreate = true);
    ~TForm60();
    TForm60(const TForm60&) = delete;
    TForm60& operator=(const TForm60&) = delete;

    ui::Form& form() { return *form_; }
    ShellServices& shell() { return shell_; }

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

    // Window events. FormDestroy is run by the backend when the window is destroyed
    // (at most once; later calls do nothing).
    void FormCreate(ui::Widget& Sender);
    void FormDestroy(ui::Widget& Sender);

    // Handlers named in the control table.
    void Button1Click(ui::Widget& Sender);
    void Button2Click(ui::Widget& Sender);
    void Button3Click(ui::Widget& Sender);
    void Button4Click(ui::Widget& Sender);
    void Button5Click(ui::Widget& Sender);
    void Button6Click(ui::Widget& Sender);
    void Button7Click(ui::Widget& Sender);
    void Button8Click(ui::Widget& Sender);
    void Button9Click(ui::Widget& Sender);
    void Button11Click(ui::Widget& Sender);
    void Button12Click(ui::Widget& Sender);
    void Button16Click(ui::Widget& Sender);
    void Button18Click(ui::Widget& Sender);
    void CheckBox1Click(ui::Widget& Sender);
    void ComboBox2Change(ui::Widget& Sender);
    void ComboBox3Change(ui::Widget& Sender);
    void ComboBox7Change(ui::Widget& Sender);
    void Button10MouseDown(ui::Widget& Sender, const ui::MouseEvent& e);
    void Button14MouseDown(ui::Widget& Sender, const ui::MouseEvent& e);
    void Image1MouseDown(ui::Widget& Sender, const ui::MouseEvent& e);
    void Image2MouseDown(ui::Widget& Sender, const ui::MouseEvent& e);

    // Outlines every frame on the frame preview.
    void DrawRect2();
    // Recomputes the grid's counts from the inputs and the extents of the last grid
    // capture, releases every cell and outlines every sheet on the grid preview.
    void DrawGrid2();

    // Fields of the window.
    double gbextMinX = 0, gbextMinY = 0, gbextMaxX = 0, gbextMaxY = 0;
    double gbextMinX2 = 0, gbextMinY2 = 0, gbextMaxX2 = 0, gbextMaxY2 = 0;
    std::vector<bool> gbPlotFlags;
    std::wstring gbDevName, gbPaperName, gbStyleName;
    std::wstring gbDevName2, gbPaperName2, gbStyleName2;
    std::shared_ptr<ui::Picture> CaptBmp, CaptBmp2;

    UnitState unit;

    // The controls, by their names.
    ui::PageControl* PageControl1 = nullptr;
    ui::TabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr;
    ui::Label* Label6 = nullptr;
    // frame page
    ui::Panel *Panel2 = nullptr, *Panel3 = nullptr;
    ui::Button *Button11 = nullptr, *Button12 = nullptr, *Button13 = nullptr, *Button14 = nullptr;
    ui::Button *Button16 = nullptr, *Button17 = nullptr, *Button18 = nullptr;
    ui::Label *Label1 = nullptr, *Label2 = nullptr, *Label7 = nullptr, *Label8 = nullptr;
    ui::Label *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr;
    ui::Edit *Edit5 = nullptr, *Edit6 = nullptr, *Edit7 = nullptr;
    ui::ComboBox *ComboBox7 = nullptr, *ComboBox8 = nullptr, *ComboBox9 = nullptr;
    ui::ComboBox *ComboBox10 = nullptr, *ComboBox11 = nullptr;
    ui::CheckBox* CheckBox1 = nullptr;
    ui::Image* Image2 = nullptr;
    // equal-interval page
    ui::Panel* Panel1 = nullptr;
    ui::Button *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr;
    ui::Button *Button5 = nullptr, *Button6 = nullptr, *Button7 = nullptr, *Button8 = nullptr;
    ui::Button *Button9 = nullptr, *Button10 = nullptr;
    ui::Label *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
    ui::Edit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr;
    ui::ComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr;
    ui::ComboBox *ComboBox4 = nullptr, *ComboBox5 = nullptr, *ComboBox6 = nullptr;
    ui::CheckBox *CheckBox2 = nullptr, *CheckBox3 = nullptr;
    ui::RadioGroup* RadioGroup1 = nullptr;
    ui::Image* Image1 = nullptr;

private:
    void buildControls();
    void bindControls();
    void bindHandler(ui::Widget& widget, Event event, const std::string& handler);

    ShellServices& shell_;
    cad::CoApplication* cadCreator_ = nullptr;
    bool framePlotRunning_ = false;
    bool gridPlotRunning_ = false;
    std::unique_ptr<ui::Form> form_;
    bool destroyed_ = false;
};

}  // namespace app
