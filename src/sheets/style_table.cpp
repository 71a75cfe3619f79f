#include "sheets/style_table.h"

namespace plot {

std::wstring_view fileExtension(std::wstring_view name) {
    const std::size_t at = name.find_last_of(L".\\:");
    if (at == std::wstring_view::npos || name[at] != L'.') return {};
    return name.substr(at);
}

bool isColourStyleTable(std::wstring_view name) {
    const std::wstring_view ext = fileExtension(name);
    constexpr std::wstring_view wanted = L".CTB";
    if (ext.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < ext.size(); ++i) {
        wchar_t c = ext[i];
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != wanted[i]) return false;
    }
    return true;
}

}  // namespace plot
