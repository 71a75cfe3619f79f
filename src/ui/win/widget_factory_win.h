// The Win32 widget backend: makes the real control for each widget of a form.
#pragma once

#include "ui/widgets.h"

namespace platform {

class WinWidgetFactory final : public ui::WidgetFactory {
public:
    WinWidgetFactory();  // registers the common controls the peers use
    std::unique_ptr<ui::WidgetPeer> createPeer(ui::Widget& widget) override;
};

}  // namespace platform
