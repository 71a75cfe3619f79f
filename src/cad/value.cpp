#include <cmath>
#include <limits>

#include "cad/automation.h"
#include "cad/value.h"
#include "base/unicode.h"

namespace cad {

CadError::CadError(std::wstring text) : text_(std::move(text)), utf8_(base::encodeUtf8(text_)) {}

namespace {

constexpr wchar_t kNotAPoint[] = L"CAD のシステム変数が点ではありません。";

}  // namespace

double sysVarNumber(const Value& value) {
    if (const double* d = value.get<double>()) {
        // No system variable of a drawing is infinite or not a number.
        if (!std::isfinite(*d)) throw CadError(L"CAD のシステム変数が有限の数値ではありません。");
        return *d;
    }
    if (const std::int32_t* i = value.get<std::int32_t>()) return *i;
    if (const std::int16_t* i = value.get<std::int16_t>()) return *i;
    throw CadError(L"CAD のシステム変数が数値ではありません。");
}

std::int32_t sysVarInteger(const Value& value) {
    if (const std::int32_t* i = value.get<std::int32_t>()) return *i;
    if (const std::int16_t* i = value.get<std::int16_t>()) return *i;
    if (const double* d = value.get<double>()) {
        // A host may report an integer variable as a double; only a whole number fits.
        if (std::isfinite(*d) && std::trunc(*d) == *d && *d >= std::numeric_limits<std::int32_t>::min() &&
            *d <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(*d);
    }
    throw CadError(L"CAD のシステム変数が整数ではありません。");
}

CadPoint sysVarPoint(const Value& value) {
    CadPoint point;
    if (const std::vector<double>* doubles = value.get<std::vector<double>>()) {
        for (double d : *doubles) point.push_back(sysVarNumber(d));
    } else if (const ValueList* items = value.get<ValueList>()) {
        // A host may give the point as an array of variants holding numbers.
        for (const Value& item : *items) {
            if (!item.is<double>() && !item.is<std::int32_t>() && !item.is<std::int16_t>())
                throw CadError(kNotAPoint);
            point.push_back(sysVarNumber(item));
        }
    } else {
        throw CadError(kNotAPoint);
    }
    if (point.size() < 2) throw CadError(kNotAPoint);
    return point;
}

}  // namespace cad
