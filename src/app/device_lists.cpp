#include "app/device_lists.h"

#include <string>
#include <utility>
#include <vector>

#include "base/names.h"
#include "cad/value.h"

namespace app {
namespace {

// Makes the first entry equal to `name` (letter case aside) the selection; none when the
// list holds no such entry.
void selectName(ui::ComboBox& list, const std::wstring& name) {
    list.setItemIndex(base::indexOfName(list.items(), name));
}

// The paper entries for the media of the device now set, in the host's order. Every
// display name is asked for before the list is touched, so a failure half-way leaves the
// paper list as it was.
std::vector<std::wstring> paperEntries(cad::CadLayout& layout, cad::StringList media, DeviceLists::PaperNames kind) {
    if (kind == DeviceLists::PaperNames::Media) return media;
    std::vector<std::wstring> names;
    names.reserve(media.size());
    for (const std::wstring& name : media) names.push_back(layout.mediaDisplayName(name));
    return names;
}

}  // namespace

// The automation objects are released in reverse order on every path.
void DeviceLists::refresh() {
    std::unique_ptr<cad::CadApplication> application;
    if (!connect_(application)) return;
    try {
        std::unique_ptr<cad::CadDocument> document = application->currentDocument();
        std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
        layout->reloadDeviceInfo();

        bool deviceChosen = false;
        std::wstring device;
        cad::StringList devices = layout->deviceList();
        if (!devices.empty()) {
            printers_->setItems(std::move(devices));
            if (!saved.device.empty()) selectName(*printers_, saved.device);
            if (printers_->itemIndex() >= 0) {
                device = printers_->selectedItem();
                deviceChosen = true;
            }
        }

        // Only a host that offers more than one table replaces the style list.
        cad::StringList styles = layout->styleTableList();
        if (styles.size() > 1) {
            styles_->setItems(std::move(styles));
            if (!saved.style.empty()) selectName(*styles_, saved.style);
        }

        if (deviceChosen) {
            layout->setDevice(device);
            layout->reloadDeviceInfo();
            cad::StringList media = layout->mediaList();
            if (!media.empty()) {
                papers_->setItems(paperEntries(*layout, std::move(media), byListRefresh_));
                if (!saved.paper.empty()) selectName(*papers_, saved.paper);
            }
        }
    } catch (const cad::CadError&) {
        // The host refused a call or answered in the wrong shape: keep what is there.
    }
}

void DeviceLists::printerChanged() {
    const std::wstring chosenPaper = papers_->text();
    std::unique_ptr<cad::CadApplication> application;
    if (!connect_(application)) return;
    const std::wstring device = printers_->selectedItem();
    if (device.empty()) return;
    try {
        std::unique_ptr<cad::CadDocument> document = application->currentDocument();
        std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
        layout->reloadDeviceInfo();
        layout->setDevice(device);
        layout->reloadDeviceInfo();
        cad::StringList media = layout->mediaList();
        if (media.empty()) return;
        papers_->setItems(paperEntries(*layout, std::move(media), byPaperRefresh_));
        if (!chosenPaper.empty())
            selectName(*papers_, chosenPaper);
        else if (!saved.paper.empty())
            selectName(*papers_, saved.paper);
    } catch (const cad::CadError&) {
        // As in refreshLists: the lists keep what they hold.
    }
}

}  // namespace app
