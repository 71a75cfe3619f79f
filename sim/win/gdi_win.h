// Small owners for GDI handles and the face the stand-in writes text in.
#pragma once

#include <windows.h>

#include "platform/paint_win.h"

#include <string>
#include <utility>

namespace sim {

// Owns one pen, brush, font or bitmap.
template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

// Selects an object into a device context for the life of the scope.
using platform::Selected;

// A memory device context compatible with another one.
class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// The first installed face that writes Japanese, Korean and Chinese text.
const std::wstring& textFace();

// A font of the text face, `pixels` high (character height), turned by `tenthsOfDegree`.
HFONT createTextFont(int pixels, int tenthsOfDegree);

}  // namespace sim
