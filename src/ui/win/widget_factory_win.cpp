// The Win32 widget backend (see widget_factory_win.h).
#include "ui/win/widget_factory_win.h"

#include <windows.h>
#include <commctrl.h>

#include <stdexcept>

#include "ui/win/deferred_peer_win.h"
#include "ui/win/form_win.h"
#include "ui/win/peer_kinds_win.h"

namespace platform {

WinWidgetFactory::WinWidgetFactory() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
}

namespace {

std::unique_ptr<ui::WidgetPeer> makePeer(ui::Widget& widget, FormPeer& form) {
    using ui::Kind;
    switch (widget.kind()) {
        case Kind::Button: return makeButtonPeer(widget, form);
        case Kind::Label: return makeLabelPeer(widget, form);
        case Kind::Edit: return makeEditPeer(static_cast<ui::Edit&>(widget), form);
        case Kind::ComboBox: return makeComboBoxPeer(static_cast<ui::ComboBox&>(widget), form);
        case Kind::CheckBox: return makeCheckBoxPeer(static_cast<ui::CheckBox&>(widget), form);
        case Kind::RadioGroup: return makeRadioGroupPeer(static_cast<ui::RadioGroup&>(widget), form);
        case Kind::Panel: return makePanelPeer(widget, form);
        case Kind::Image: return makeImagePeer(static_cast<ui::Image&>(widget), form);
        case Kind::PageControl: return makePageControlPeer(static_cast<ui::PageControl&>(widget), form);
        case Kind::TabSheet: return makeTabSheetPeer(static_cast<ui::TabSheet&>(widget), form);
        case Kind::Form: break;
    }
    throw std::logic_error("no Win32 control for " + widget.name());
}

}  // namespace

std::unique_ptr<ui::WidgetPeer> WinWidgetFactory::createPeer(ui::Widget& widget) {
    if (widget.kind() == ui::Kind::Form) return std::make_unique<FormPeer>(static_cast<ui::Form&>(widget));
    const ui::Widget* root = &widget;
    while (root->parent()) root = root->parent();
    FormPeer* form = root->kind() == ui::Kind::Form ? FormPeer::of(static_cast<const ui::Form&>(*root)) : nullptr;
    if (!form) throw std::logic_error("control " + widget.name() + " outside a Win32 form");
    if (waitsForPage(widget))
        return std::make_unique<DeferredPeer>([&widget, form] { return makePeer(widget, *form); });
    return makePeer(widget, *form);
}

}  // namespace platform
