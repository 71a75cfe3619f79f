// A window that holds controls: panels, pages and radio groups. It paints its surface and
// passes its children's notifications on to their peers.
#pragma once

#include "ui/win/peer_win.h"

namespace platform {

inline constexpr wchar_t kContainerClass[] = L"QuillonPanel";

class ContainerPeer : public PeerWin {
public:
    ContainerPeer(ui::Widget& widget, FormPeer& form, COLORREF surface);
    COLORREF surface() const override { return surface_; }

protected:
    std::optional<LRESULT> onEraseBackground(HDC dc) override;

private:
    COLORREF surface_;
};

}  // namespace platform
