// The system variables the host serves: GRIDMODE, VIEWCTR, VIEWSIZE, SCREENSIZE, EXTMIN,
// EXTMAX, DIMSCALE, BACKGROUNDPLOT.
#include "sim/model/args.h"
#include "sim/model/host_state.h"
#include "sim/model/text_codec.h"

namespace sim {
namespace {

std::wstring upper(const std::wstring& name) {
    std::wstring out = name;
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    return out;
}

cad::Value point(double x, double y, double z = 0) { return std::vector<double>{x, y, z}; }

// A whole number of a short system variable; anything else is refused.
std::int16_t shortValue(const cad::Member& m, const std::wstring& name, const cad::Value& v, int min, int max) {
    long n;
    if (auto* s = v.get<std::int16_t>()) n = *s;
    else if (auto* l = v.get<std::int32_t>()) n = *l;
    else hostError(m, L"invalid value type for " + name + L" (an integer is expected)");
    if (n < min || n > max)
        hostError(m, L"value " + std::to_wstring(n) + L" is out of range for " + name + L" (" + std::to_wstring(min) +
                         L" to " + std::to_wstring(max) + L")");
    return static_cast<std::int16_t>(n);
}

}  // namespace

cad::Value readSystemVariable(State& s, const cad::Member& m, const std::wstring& name) {
    std::wstring key = upper(name);
    const ViewState& v = s.view;
    if (key == L"GRIDMODE") return s.gridMode;
    if (key == L"BACKGROUNDPLOT") return s.backgroundPlot;
    if (key == L"DIMSCALE") return s.dimscale;
    if (key == L"VIEWCTR") return point(v.centreX, v.centreY);
    if (key == L"VIEWSIZE") return v.height;
    if (key == L"SCREENSIZE") return point(v.widthPx, v.heightPx);
    // An empty drawing reports the extents the way CAD hosts do: inverted and huge.
    if (key == L"EXTMIN") return s.extents.empty ? point(1e20, 1e20, 1e20) : point(s.extents.min.x, s.extents.min.y);
    if (key == L"EXTMAX") return s.extents.empty ? point(-1e20, -1e20, -1e20) : point(s.extents.max.x, s.extents.max.y);
    hostError(m, L"unknown system variable \"" + name + L"\"");
}

void writeSystemVariable(State& s, const cad::Member& m, const std::wstring& name, const cad::Value& value) {
    std::wstring key = upper(name);
    if (key == L"GRIDMODE") {
        s.gridMode = shortValue(m, key, value, 0, 1);
        s.viewChanged();
    } else if (key == L"BACKGROUNDPLOT") {
        s.backgroundPlot = shortValue(m, key, value, 0, 3);
    } else if (key == L"DIMSCALE") {
        double d;
        if (auto* x = value.get<double>()) d = *x;
        else if (auto* i = value.get<std::int16_t>()) d = *i;
        else if (auto* l = value.get<std::int32_t>()) d = *l;
        else hostError(m, L"invalid value type for DIMSCALE (a number is expected)");
        if (!(d >= 0) || d > 1e300) hostError(m, L"DIMSCALE must be zero or a positive number");
        s.dimscale = d;
    } else if (key == L"VIEWCTR" || key == L"VIEWSIZE" || key == L"SCREENSIZE" || key == L"EXTMIN" || key == L"EXTMAX") {
        hostError(m, L"system variable " + key + L" is read-only");
    } else {
        hostError(m, L"unknown system variable \"" + name + L"\"");
    }
}

}  // namespace sim
