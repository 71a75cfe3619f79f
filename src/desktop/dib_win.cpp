#include "desktop/dib_win.h"

#include <algorithm>
#include <string>

#include "desktop/shell_services.h"

namespace platform {

namespace {

[[noreturn]] void fail(const char* what) {
    throw desktop::GraphicsError(std::string(what) + " (エラー " + std::to_string(GetLastError()) + ")");
}

}  // namespace

DisplayDc::DisplayDc() : dc_(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {
    if (!dc_) fail("画面のデバイスコンテキストを作成できません");
}

DibSection::DibSection(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        throw desktop::GraphicsError(std::to_string(width) + " x " + std::to_string(height) +
                                 " 画素のビットマップは作成できません");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) {
        if (bitmap_) DeleteObject(bitmap_);
        fail("32 ビットのビットマップを作成できません");
    }
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) {
        DeleteObject(bitmap_);
        fail("メモリ デバイスコンテキストを作成できません");
    }
    old_ = SelectObject(dc_, bitmap_);
}

DibSection::~DibSection() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

void DibSection::load(const ui::PixelView& from) {
    std::uint32_t* to = pixels();
    const int w = std::min(width_, from.width), h = std::min(height_, from.height);
    if (!from.pixels) return;
    for (int y = 0; y < h; ++y)
        std::copy_n(from.pixels + static_cast<std::size_t>(y) * from.stride, w, to + static_cast<std::size_t>(y) * width_);
}

void DibSection::store(ui::PixelBitmap& to) const {
    const std::uint32_t* from = pixels();
    const int w = std::min(width_, to.width()), h = std::min(height_, to.height());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) to.at(x, y) = from[static_cast<std::size_t>(y) * width_ + x] & 0x00FFFFFFu;
}

std::shared_ptr<ui::PixelBitmap> DibSection::toBitmap() const {
    auto bitmap = std::make_shared<ui::PixelBitmap>(width_, height_);
    store(*bitmap);
    return bitmap;
}

}  // namespace platform
