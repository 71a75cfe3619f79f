// The plot device, paper and plot-style lists of both pages, filled from the CAD host's
// current layout, and the paper change. The two pages work alike on their own lists and
// saved names; they differ only in which paper names each refresh adds (the host's media
// names or their display names), as PageLists records.
//
// Nothing here runs a change handler: the widget seam runs them only for the user's picks,
// so filling a list or selecting a saved name from code stays silent.
#include <memory>
#include <string>
#include <utility>

#include "app/main_window.h"
#include "cad/value.h"
#include "base/names.h"

namespace app {
namespace {

enum class PaperNames { Media, Display };

struct PageLists {
    ui::ComboBox& devices;
    ui::ComboBox& papers;
    ui::ComboBox& styles;
    const std::wstring& savedDevice;
    const std::wstring& savedPaper;
    const std::wstring& savedStyle;
    PaperNames byListRefresh;   // paper names the list refresh adds
    PaperNames byPaperRefresh;  // paper names the paper refresh adds
};

PageLists framePage(MainWindow& f) {
    return {*f.framePrinter,  *f.framePaper,        *f.frameStyleTable,          f.savedFrameDevice,
            f.savedFramePaper, f.savedFrameStyle, PaperNames::Media, PaperNames::Display};
}

PageLists gridPage(MainWindow& f) {
    return {*f.gridPrinter, *f.gridPaper,        *f.gridStyleTable,       f.savedGridDevice,
            f.savedGridPaper, f.savedGridStyle, PaperNames::Display, PaperNames::Media};
}

// Makes the first entry equal to `name` (letter case aside) the selection; none when the
// list holds no such entry.
void selectName(ui::ComboBox& list, const std::wstring& name) {
    list.setItemIndex(base::indexOfName(list.items(), name));
}

// The selected entry; empty when nothing is selected.
std::wstring selectedEntry(const ui::ComboBox& list) {
    const int index = list.itemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= list.items().size()) return {};
    return list.items()[static_cast<std::size_t>(index)];
}

// The paper entries for the media of the device now set, in the host's order. Every
// display name is asked for before the list is touched, so a failure half-way leaves the
// paper list as it was.
std::vector<std::wstring> paperEntries(cad::CadLayout& layout, cad::StringList media, PaperNames kind) {
    if (kind == PaperNames::Media) return media;
    std::vector<std::wstring> names;
    names.reserve(media.size());
    for (const std::wstring& name : media) names.push_back(layout.mediaDisplayName(name));
    return names;
}

// Refills all three lists of a page and selects the saved names. A host failure ends it
// where it happened: lists already refilled keep their new entries, the others their old
// ones. The automation objects are released in reverse order on every path.
void refreshLists(MainWindow& f, const PageLists& page) {
    std::unique_ptr<cad::CadApplication> application;
    if (!f.connectToCad(application)) return;
    try {
        std::unique_ptr<cad::CadDocument> document = application->currentDocument();
        std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
        layout->reloadDeviceInfo();

        bool deviceChosen = false;
        std::wstring device;
        cad::StringList devices = layout->deviceList();
        if (!devices.empty()) {
            page.devices.setItems(std::move(devices));
            if (!page.savedDevice.empty()) selectName(page.devices, page.savedDevice);
            if (page.devices.itemIndex() >= 0) {
                device = selectedEntry(page.devices);
                deviceChosen = true;
            }
        }

        // Only a host that offers more than one table replaces the style list.
        cad::StringList styles = layout->styleTableList();
        if (styles.size() > 1) {
            page.styles.setItems(std::move(styles));
            if (!page.savedStyle.empty()) selectName(page.styles, page.savedStyle);
        }

        if (deviceChosen) {
            layout->setDevice(device);
            layout->reloadDeviceInfo();
            cad::StringList media = layout->mediaList();
            if (!media.empty()) {
                page.papers.setItems(paperEntries(*layout, std::move(media), page.byListRefresh));
                if (!page.savedPaper.empty()) selectName(page.papers, page.savedPaper);
            }
        }
    } catch (const cad::CadError&) {
        // The host refused a call or answered in the wrong shape: keep what is there.
    }
}

// Refills the paper list for the device now selected, keeping the paper that was chosen
// when the new list holds it; the saved paper name is tried only when none was chosen.
void refreshPapers(MainWindow& f, const PageLists& page) {
    const std::wstring chosenPaper = page.papers.text();
    std::unique_ptr<cad::CadApplication> application;
    if (!f.connectToCad(application)) return;
    const std::wstring device = selectedEntry(page.devices);
    if (device.empty()) return;
    try {
        std::unique_ptr<cad::CadDocument> document = application->currentDocument();
        std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
        layout->reloadDeviceInfo();
        layout->setDevice(device);
        layout->reloadDeviceInfo();
        cad::StringList media = layout->mediaList();
        if (media.empty()) return;
        page.papers.setItems(paperEntries(*layout, std::move(media), page.byPaperRefresh));
        if (!chosenPaper.empty())
            selectName(page.papers, chosenPaper);
        else if (!page.savedPaper.empty())
            selectName(page.papers, page.savedPaper);
    } catch (const cad::CadError&) {
        // As in refreshLists: the lists keep what they hold.
    }
}

}  // namespace

void MainWindow::refreshFrameLists() { refreshLists(*this, framePage(*this)); }

void MainWindow::refreshGridLists() { refreshLists(*this, gridPage(*this)); }

void MainWindow::framePrinterChanged() { refreshPapers(*this, framePage(*this)); }

void MainWindow::gridPrinterChanged() { refreshPapers(*this, gridPage(*this)); }

// Bound to the paper lists of both pages; the print scale it recomputes is always the
// equal-interval page's.
void MainWindow::paperChanged() {
    if (autoPrintScale->checked()) recomputePrintScale();
}

}  // namespace app
