// Handlers bound by the control table whose work comes with later parts of the program
// (frame capture and selection, plot lists and batch plots, the equal-interval page).
// Each one moves to its own unit when that work is built; until then it does nothing.
#include "app/form60.h"

namespace app {

void TForm60::Button1Click(ui::Widget&) {}       // equal-interval capture
void TForm60::Button2Click(ui::Widget&) {}       // base point pick
void TForm60::Button4Click(ui::Widget&) {}       // grid batch plot
void TForm60::Button7Click(ui::Widget&) {}       // spacing pick
void TForm60::Button8Click(ui::Widget&) {}       // drawing scale pick
void TForm60::Button10MouseDown(ui::Widget&, const ui::MouseEvent&) {}  // choose every grid cell
void TForm60::Image1MouseDown(ui::Widget&, const ui::MouseEvent&) {}    // grid cell selection

}  // namespace app
