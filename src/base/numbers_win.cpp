// The process's number settings on Windows: the user locale's decimal separator.
#include <windows.h>

#include "base/numbers.h"

namespace base {

NumberFormat systemNumberFormat() {
    NumberFormat format;
    wchar_t separator[8] = {};
    // One character is what the program reads and writes; a longer separator (which no
    // shipped locale has) is cut to its first character.
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 1 && separator[0] != L'\0')
        format.decimalSeparator = separator[0];
    return format;
}

}  // namespace base
