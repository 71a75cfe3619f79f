// The peer of each kind of control; each lives in its own file.
#pragma once

#include <memory>

#include "ui/widgets.h"

namespace platform {

class FormPeer;

std::unique_ptr<ui::WidgetPeer> makeButtonPeer(ui::Widget& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makeLabelPeer(ui::Widget& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makeEditPeer(ui::Edit& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makeComboBoxPeer(ui::ComboBox& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makeCheckBoxPeer(ui::CheckBox& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makeRadioGroupPeer(ui::RadioGroup& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makePanelPeer(ui::Widget& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makeImagePeer(ui::Image& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makePageControlPeer(ui::PageControl& widget, FormPeer& form);
std::unique_ptr<ui::WidgetPeer> makeTabSheetPeer(ui::TabSheet& widget, FormPeer& form);

}  // namespace platform
