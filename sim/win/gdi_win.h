// Small owners for GDI handles and the face the stand-in writes text in.
#pragma once

#include <windows.h>

#include "ui/win/paint_win.h"

#include <string>

namespace sim {

// Owns one pen, brush, font or bitmap.
using platform::GdiObject;

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
