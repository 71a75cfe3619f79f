#include <cmath>
#include <limits>

#include "cad/automation.h"
#include "cad/value.h"
#include "base/unicode.h"

namespace cad {

CadError::CadError(std::wstring text) : text_(std::move(text)), utf8_(base::encodeUtf8(text_)) {}

double sysVarNumber(const Value& value) {
    if (const double* d = value.get<double>()) return *d;
    if (const std::int32_t* i = value.get<std::int32_t>()) return *i;
    if (const std::int16_t* i = value.get<std::int16_t>()) return *i;
    throw CadError(L"The host returned a system variable that is not a number.");
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
    throw CadError(L"The host returned a system variable that is not an integer.");
}

CadPoint sysVarPoint(const Value& value) {
    CadPoint point;
    if (const std::vector<double>* doubles = value.get<std::vector<double>>()) {
        point = *doubles;
    } else if (const ValueList* items = value.get<ValueList>()) {
        // A host may give the point as an array of variants holding numbers.
        for (const Value& item : *items) {
            if (!item.is<double>() && !item.is<std::int32_t>() && !item.is<std::int16_t>())
                throw CadError(L"The host returned a system variable that is not a point.");
            point.push_back(sysVarNumber(item));
        }
    } else {
        throw CadError(L"The host returned a system variable that is not a point.");
    }
    if (point.size() < 2) throw CadError(L"The host returned a system variable that is not a point.");
    return point;
}

}  // namespace cad
