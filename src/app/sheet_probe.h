// What "すべて" on either page holds while it walks the sheets: the CAD application and,
// unless every sheet is being released, the document with the whole drawing shown and
// the temporary selection set that tests each sheet for content. Released in reverse
// order.
#pragma once

#include <memory>

#include "cad/automation.h"
#include "cad/connect.h"
#include "ui/widgets.h"

namespace app {

struct SheetProbe {
    std::unique_ptr<cad::CadApplication> application;
    std::unique_ptr<cad::CadDocument> document;
    std::unique_ptr<cad::CadSelectionSet> tempSet;

    // The document, the whole drawing shown, the temporary set. Host errors reach the
    // caller.
    void open() {
        document = application->currentDocument();
        application->showWholeDrawing();
        tempSet = cad::tempSelectionSet(*document);
    }
};

// "すべて" releases every sheet for the right button, or the left with Shift or Ctrl.
inline bool releasesAll(const ui::MouseEvent& e) {
    return e.button == ui::MouseButton::Right || (e.button == ui::MouseButton::Left && (e.shift || e.ctrl));
}

}  // namespace app
