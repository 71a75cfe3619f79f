// The label: the platform's STATIC, one line, light text on its parent's surface.
#include "platform/peer_kinds_win.h"
#include "platform/peer_win.h"

namespace platform {

namespace {

class LabelPeer final : public PeerWin {
public:
    LabelPeer(ui::Widget& widget, FormPeer& form) : PeerWin(widget, form) {
        tracksHover_ = false;
        createSystemControl(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX);
    }
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeLabelPeer(ui::Widget& widget, FormPeer& form) {
    return std::make_unique<LabelPeer>(widget, form);
}

}  // namespace platform
