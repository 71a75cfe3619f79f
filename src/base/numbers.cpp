// Number reading and writing under the process's number settings; the system's settings
// come from numbers_win.cpp on Windows.
#include "base/numbers.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace base {

namespace {

NumberFormat& current() {
    static NumberFormat format = systemNumberFormat();
    return format;
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

const NumberFormat& processNumberFormat() { return current(); }

ScopedNumberFormat::ScopedNumberFormat(NumberFormat format) : saved_(current()) { current() = format; }
ScopedNumberFormat::~ScopedNumberFormat() { current() = saved_; }

#ifndef _WIN32
NumberFormat systemNumberFormat() { return {}; }
#endif

std::wstring_view trimBlanks(std::wstring_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned>(text[first]) <= L' ') ++first;
    while (last > first && static_cast<unsigned>(text[last - 1]) <= L' ') --last;
    return text.substr(first, last - first);
}

std::optional<double> parseNumber(std::wstring_view text, const NumberFormat& format) {
    text = trimBlanks(text);
    // Checked here and rewritten as plain ASCII with '.', for from_chars, which takes no
    // '+' and reads "inf", "nan" and the like, none of which is a number here.
    std::string plain;
    std::size_t k = 0;
    auto digits = [&] {
        const std::size_t from = k;
        while (k < text.size() && isDigit(text[k])) plain += static_cast<char>(text[k++]);
        return k - from;
    };
    if (k < text.size() && (text[k] == L'+' || text[k] == L'-')) {
        if (text[k] == L'-') plain += '-';
        ++k;
    }
    std::size_t mantissa = digits();
    if (k < text.size() && text[k] == format.decimalSeparator) {
        plain += '.';
        ++k;
        mantissa += digits();
    }
    if (mantissa == 0) return std::nullopt;
    if (k < text.size() && (text[k] == L'e' || text[k] == L'E')) {
        plain += 'e';
        ++k;
        if (k < text.size() && (text[k] == L'+' || text[k] == L'-')) plain += static_cast<char>(text[k++]);
        if (digits() == 0) return std::nullopt;
    }
    if (k != text.size()) return std::nullopt;

    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> parseNumber(std::wstring_view text) { return parseNumber(text, processNumberFormat()); }

double readNumber(std::wstring_view text, double fallback, const NumberFormat& format) {
    return parseNumber(text, format).value_or(fallback);
}

double readNumber(std::wstring_view text, double fallback) { return readNumber(text, fallback, processNumberFormat()); }

std::wstring formatFixed4(double value, const NumberFormat& format) {
    if (std::isnan(value)) return L"NAN";
    if (std::isinf(value)) return value > 0 ? L"INF" : L"-INF";
    char buffer[400];  // the largest double has 309 digits before the point
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    std::wstring out;
    if (ec != std::errc()) return out;
    for (const char* c = buffer; c != end; ++c) out += *c == '.' ? format.decimalSeparator : static_cast<wchar_t>(*c);
    return out;
}

std::wstring formatFixed4(double value) { return formatFixed4(value, processNumberFormat()); }

std::wstring formatGeneral(double value, const NumberFormat& format) {
    if (std::isnan(value)) return L"NAN";
    if (std::isinf(value)) return value > 0 ? L"INF" : L"-INF";
    if (value == 0) return L"0";
    // d.dddddddddddddde[+-]x: the 15 significant digits and the exponent after rounding.
    char buffer[40];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    if (ec != std::errc()) return {};
    const std::string text(buffer, end);
    const std::size_t e = text.find('e');
    const bool negative = text[0] == '-';
    std::string digits;
    for (std::size_t k = negative ? 1 : 0; k < e; ++k)
        if (text[k] != '.') digits += text[k];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);

    std::string out = negative ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1) out += '.' + digits.substr(1);
        out += 'E' + std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits + std::string(whole - digits.size(), '0');
        } else {
            out += digits.substr(0, whole) + '.' + digits.substr(whole);
        }
    }
    std::wstring wide;
    for (const char c : out) wide += c == '.' ? format.decimalSeparator : static_cast<wchar_t>(c);
    return wide;
}

std::wstring formatGeneral(double value) { return formatGeneral(value, processNumberFormat()); }

}  // namespace base
