#include <cmath>
#include <limits>

#include "cad/automation.h"
#include "cad/value.h"

namespace cad {
namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Wide text (UTF-16 on Windows, UTF-32 elsewhere) as UTF-8; a lone surrogate or a
// value beyond Unicode becomes U+FFFD.
std::string toUtf8(const std::wstring& text) {
    constexpr char32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            char32_t low = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i + 1]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace

CadError::CadError(std::wstring text) : text_(std::move(text)), utf8_(toUtf8(text_)) {}

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
