// TEXT and MTEXT in the view: placed by their attachment point, turned by their
// rotation, MTEXT broken at its paragraphs and wrapped at its box width.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "sim/model/drawing.h"
#include "sim/win/gdi_win.h"
#include "sim/win/view_mapping.h"

namespace sim {

class TextPainter {
public:
    TextPainter(HDC dc, const ViewMapping& map, double right, double bottom) : dc_(dc), map_(map), right_(right), bottom_(bottom) {}

    // Draws in the device context's current text colour.
    void draw(const Entity& text);

private:
    HFONT font(int pixels, int tenths);

    HDC dc_;
    const ViewMapping& map_;
    double right_, bottom_;
    std::map<std::pair<int, int>, GdiObject<HFONT>> fonts_;
};

}  // namespace sim
