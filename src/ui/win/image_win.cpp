// The image: a window of ours that shows the widget's picture where the widget says
// (centred and scaled by one factor, stretched, or as it is) on a dark ground.
#include "ui/win/paint_win.h"
#include "ui/win/peer_kinds_win.h"
#include "ui/win/peer_win.h"

namespace platform {

namespace {

constexpr wchar_t kImageClass[] = L"QuillonImage";

class ImagePeer final : public PeerWin {
public:
    ImagePeer(ui::Image& widget, FormPeer& form) : PeerWin(widget, form), image_(widget) {
        tracksHover_ = false;
        registerWindowClass(kImageClass, CS_HREDRAW | CS_VREDRAW);
        createOwnWindow(kImageClass, 0);
    }

    void pictureChanged(const ui::Picture*) override {
        if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
    }

    COLORREF surface() const override { return kPalette.picture; }

private:
    std::optional<LRESULT> onEraseBackground(HDC) override { return TRUE; }

    std::optional<LRESULT> onPaint() override {
        ClientPaint paint(hwnd());
        HDC dc = paint.dc();
        fill(dc, paint.client(), style().brush(surface()));
        const ui::Picture* picture = image_.picture().get();
        const ui::PixelView view = picture ? picture->pixels() : ui::PixelView{};
        if (!view.pixels || view.width <= 0 || view.height <= 0 || view.stride < view.width) return 0;
        const ui::Rect at = image_.pictureRect();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = view.stride;
        info.bmiHeader.biHeight = -view.height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const bool scaled = at.width != view.width || at.height != view.height;
        SetStretchBltMode(dc, scaled ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, at.left, at.top, at.width, at.height, 0, 0, view.width, view.height, view.pixels, &info,
                      DIB_RGB_COLORS, SRCCOPY);
        return 0;
    }

    ui::Image& image_;
};

}  // namespace

std::unique_ptr<ui::WidgetPeer> makeImagePeer(ui::Image& widget, FormPeer& form) {
    return std::make_unique<ImagePeer>(widget, form);
}

}  // namespace platform
