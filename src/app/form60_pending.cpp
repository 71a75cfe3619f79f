// Handlers bound by the control table whose work comes with later parts of the program
// (frame capture and selection, plot lists and batch plots, the equal-interval page).
// Each one moves to its own unit when that work is built; until then it does nothing.
#include "app/form60.h"

namespace app {


}  // namespace app
