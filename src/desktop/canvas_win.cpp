#include "desktop/canvas_win.h"

#include <algorithm>
#include <cwchar>

#include "desktop/shell_services.h"

namespace platform {

namespace {

// The face of the system's default GUI font; Tahoma when it cannot be read.
LOGFONTW defaultFace() {
    LOGFONTW face{};
    if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face) || !face.lfFaceName[0]) {
        face = LOGFONTW{};
        face.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(face.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
    }
    face.lfWidth = 0;
    face.lfEscapement = face.lfOrientation = 0;
    return face;
}

}  // namespace

// An empty target gets a one-pixel working bitmap whose pixels go nowhere.
GdiCanvas::GdiCanvas(ui::PixelBitmap& target)
    : target_(target), dib_(std::max(target.width(), 1), std::max(target.height(), 1)) {
    dib_.load(target.pixels());
    SetROP2(dib_.dc(), R2_COPYPEN);
    SetBkMode(dib_.dc(), TRANSPARENT);
    SetTextAlign(dib_.dc(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    setPen(0, 1);
    setFont(0, 0);
}

GdiCanvas::~GdiCanvas() { dib_.store(target_); }

void GdiCanvas::setPen(std::uint32_t colour, int width) {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, std::max(width, 1), colorRef(colour)));
    if (!pen) throw desktop::GraphicsError("ペンを作成できません");
    penSelected_.reset();  // the old pen goes out of the device context before it is deleted
    pen_ = std::move(pen);
    penSelected_.emplace(dib_.dc(), pen_.get());
}

void GdiCanvas::moveTo(int x, int y) { MoveToEx(dib_.dc(), x, y, nullptr); }

void GdiCanvas::lineTo(int x, int y) { LineTo(dib_.dc(), x, y); }

void GdiCanvas::setFont(int cellHeight, std::uint32_t colour) {
    // A positive height asks for the cell height (the character height plus the
    // internal leading); 0 gives the face's default size.
    LOGFONTW face = defaultFace();
    face.lfHeight = std::max(cellHeight, 0);
    GdiObject<HFONT> font(CreateFontIndirectW(&face));
    if (!font) throw desktop::GraphicsError("フォントを作成できません");
    fontSelected_.reset();
    font_ = std::move(font);
    fontSelected_.emplace(dib_.dc(), font_.get());
    SetTextColor(dib_.dc(), colorRef(colour));
}

int GdiCanvas::textWidth(const std::wstring& text) {
    SIZE size{};
    if (text.empty() || !GetTextExtentPoint32W(dib_.dc(), text.data(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

void GdiCanvas::textOut(int x, int y, const std::wstring& text) {
    TextOutW(dib_.dc(), x, y, text.data(), static_cast<int>(text.size()));
}

void GdiCanvas::copyRect(const ui::Picture& source, int left, int top, int right, int bottom) {
    const ui::PixelView from = source.pixels();
    if (!from.pixels) return;
    std::uint32_t* to = dib_.pixels();  // waits for what GDI still has to draw
    const int l = std::max(left, 0), t = std::max(top, 0);
    const int r = std::min({right, dib_.width(), from.width});
    const int b = std::min({bottom, dib_.height(), from.height});
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            to[static_cast<std::size_t>(y) * dib_.width() + x] = from.pixels[static_cast<std::size_t>(y) * from.stride + x];
}

}  // namespace platform
