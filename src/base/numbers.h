// Numbers as the user types and reads them: tolerant reading of a control's text and the
// four-decimal form of computed scales, both under the process's number settings (the
// decimal separator of the user's locale on Windows; '.' elsewhere).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace base {

struct NumberFormat {
    wchar_t decimalSeparator = L'.';
};

// The process's number settings, read from the system on first use and kept.
const NumberFormat& processNumberFormat();

// What the system says (on Windows: the user locale's decimal separator; '.' when the
// locale gives none or elsewhere). processNumberFormat() reads it once.
NumberFormat systemNumberFormat();

// Puts other number settings in place of the process's while it lives (tests).
class ScopedNumberFormat {
public:
    explicit ScopedNumberFormat(NumberFormat format);
    ~ScopedNumberFormat();
    ScopedNumberFormat(const ScopedNumberFormat&) = delete;
    ScopedNumberFormat& operator=(const ScopedNumberFormat&) = delete;

private:
    NumberFormat saved_;
};

// `text` without the blanks and control characters (code points up to U+0020) at either end.
std::wstring_view trimBlanks(std::wstring_view text);

// A decimal number: blanks around it, an optional sign, digits with at most one decimal
// separator (digits on at least one side of it), an optional exponent ("e" or "E", an
// optional sign, digits). Nothing for any other text, for a decimal point other than the
// format's separator, and for a value a double cannot hold (too large, or so small
// that it would come out as zero).
std::optional<double> parseNumber(std::wstring_view text, const NumberFormat& format);
std::optional<double> parseNumber(std::wstring_view text);  // process settings

// The number in `text`, or `fallback` when the text is not a number.
double readNumber(std::wstring_view text, double fallback, const NumberFormat& format);
double readNumber(std::wstring_view text, double fallback);  // process settings

// "%.4f": fixed notation, four decimals, correctly rounded, with the format's separator.
std::wstring formatFixed4(double value, const NumberFormat& format);
std::wstring formatFixed4(double value);  // process settings

// The general form: rounded to 15 significant digits, trailing zeros and a bare decimal
// separator dropped; fixed notation while the decimal exponent lies in -5 ... 14, else
// scientific as mantissa, "E", exponent without leading zeros ("1.5E-7", "2E15").
std::wstring formatGeneral(double value, const NumberFormat& format);
std::wstring formatGeneral(double value);  // process settings

}  // namespace base
