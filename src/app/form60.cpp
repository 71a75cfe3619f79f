// TForm60: construction, start and end of the window, and the handlers of the window
// itself (the panel toggle and the "CAD" button).
#include "app/form60.h"

#include <type_traits>

#include "app/pixel_bitmap.h"
#include "app/settings.h"

namespace app {

namespace {

ui::WidgetArgs formArgs() {
    ui::WidgetArgs a;
    a.name = "Form60";
    a.kind = ui::Kind::Form;
    a.design = {0, 0, kDesignClientWidth, kDesignClientHeight};
    a.text = kAppTitle;
    return a;
}

}  // namespace

TForm60::TForm60(ui::WidgetFactory& widgets, ShellServices& shell, int dpi, bool runFormCreate)
    : shell_(shell), form_(std::make_unique<ui::Form>(formArgs(), widgets, dpi)) {
    buildControls();
    if (runFormCreate) FormCreate(*form_);
}

TForm60::~TForm60() = default;

void TForm60::bindControls() {
#define QUILLON_BIND(name) name = &form_->get<std::remove_pointer_t<decltype(name)>>(#name)
    QUILLON_BIND(Label6);
    QUILLON_BIND(Panel2); QUILLON_BIND(Panel3);
    QUILLON_BIND(Button11); QUILLON_BIND(Button12); QUILLON_BIND(Button13); QUILLON_BIND(Button14);
    QUILLON_BIND(Button16); QUILLON_BIND(Button17); QUILLON_BIND(Button18);
    QUILLON_BIND(Label1); QUILLON_BIND(Label2); QUILLON_BIND(Label7); QUILLON_BIND(Label8);
    QUILLON_BIND(Label9); QUILLON_BIND(Label10); QUILLON_BIND(Label11);
    QUILLON_BIND(Edit5); QUILLON_BIND(Edit6); QUILLON_BIND(Edit7);
    QUILLON_BIND(ComboBox7); QUILLON_BIND(ComboBox8); QUILLON_BIND(ComboBox9);
    QUILLON_BIND(ComboBox10); QUILLON_BIND(ComboBox11);
    QUILLON_BIND(CheckBox1); QUILLON_BIND(Image2);
    QUILLON_BIND(Panel1);
    QUILLON_BIND(Button1); QUILLON_BIND(Button2); QUILLON_BIND(Button3); QUILLON_BIND(Button4);
    QUILLON_BIND(Button5); QUILLON_BIND(Button6); QUILLON_BIND(Button7); QUILLON_BIND(Button8);
    QUILLON_BIND(Button9); QUILLON_BIND(Button10);
    QUILLON_BIND(Label3); QUILLON_BIND(Label4); QUILLON_BIND(Label5);
    QUILLON_BIND(Edit1); QUILLON_BIND(Edit2); QUILLON_BIND(Edit3); QUILLON_BIND(Edit4);
    QUILLON_BIND(ComboBox1); QUILLON_BIND(ComboBox2); QUILLON_BIND(ComboBox3);
    QUILLON_BIND(ComboBox4); QUILLON_BIND(ComboBox5); QUILLON_BIND(ComboBox6);
    QUILLON_BIND(CheckBox2); QUILLON_BIND(CheckBox3);
    QUILLON_BIND(RadioGroup1); QUILLON_BIND(Image1);
#undef QUILLON_BIND
}

void TForm60::FormCreate(ui::Widget&) {
    unit.monitorScaleFactor = shell_.monitorScaleFactor();
    form_->setText(kMainCaption);
    readSettings(*this);
    CaptBmp = std::make_shared<PixelBitmap>();
    CaptBmp2 = std::make_shared<PixelBitmap>();
}

void TForm60::FormDestroy(ui::Widget&) {
    if (destroyed_) return;
    destroyed_ = true;
    writeSettings(*this);
    CaptBmp.reset();
    CaptBmp2.reset();
}

void TForm60::Button12Click(ui::Widget&) {
    Panel2->setVisible(!Panel2->visible());
    Button12->setText(Panel2->visible() ? L"▲" : L"▼");
}

void TForm60::Button3Click(ui::Widget&) {}

bool TForm60::connectToCad(std::unique_ptr<cad::CadApplication>& application) {
    if (!cadCreator_) return false;
    return cad::connectToCad(application, shell_, *cadCreator_);
}

void TForm60::setFramePlotRunning(bool running) {
    framePlotRunning_ = running;
    Button11->setEnabled(!running);
    CheckBox1->setEnabled(!running);
}

void TForm60::setGridPlotRunning(bool running) {
    gridPlotRunning_ = running;
    Button1->setEnabled(!running);
    Button2->setEnabled(!running);
    Button7->setEnabled(!running);
}

}  // namespace app
