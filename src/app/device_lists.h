// The plot device, paper and plot-style lists of one page, filled from the CAD host's
// current layout, and the names saved for them. The two pages work alike; they differ
// only in which paper names each refresh adds (the host's media names or their display
// names).
//
// Nothing here runs a change handler: the widget seam runs them only for the user's
// picks, so filling a list or selecting a saved name from code stays silent.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "cad/automation.h"
#include "ui/widgets.h"

namespace app {

class DeviceLists {
public:
    enum class PaperNames { Media, Display };
    // Connects to the CAD host; false when there is none.
    using Connect = std::function<bool(std::unique_ptr<cad::CadApplication>&)>;

    // The names saved in the settings file, selected when a refresh finds them.
    struct Saved {
        std::wstring device, paper, style;
    };

    DeviceLists(Connect connect, PaperNames byListRefresh, PaperNames byPaperRefresh)
        : connect_(std::move(connect)), byListRefresh_(byListRefresh), byPaperRefresh_(byPaperRefresh) {}

    // The page's three lists, once they are made.
    void attach(ui::ComboBox& printers, ui::ComboBox& papers, ui::ComboBox& styles) {
        printers_ = &printers;
        papers_ = &papers;
        styles_ = &styles;
    }

    // Refills all three lists and selects the saved names. A host failure ends it where
    // it happened: lists already refilled keep their new entries, the others their old
    // ones.
    void refresh();
    // Refills the paper list for the device now selected, keeping the paper that was
    // chosen when the new list holds it; the saved paper name is tried only when none was
    // chosen.
    void printerChanged();

    Saved saved;

private:
    Connect connect_;
    PaperNames byListRefresh_, byPaperRefresh_;
    ui::ComboBox* printers_ = nullptr;
    ui::ComboBox* papers_ = nullptr;
    ui::ComboBox* styles_ = nullptr;
};

}  // namespace app
