// INI-form text (see ini_file.h).
#include "base/ini_file.h"

#include "base/names.h"

namespace base {

namespace {

constexpr std::size_t npos = std::wstring::npos;

std::wstring_view trim(std::wstring_view s) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameName(std::wstring_view a, std::wstring_view b) { return sameNameIgnoringCase(a, b); }

// The name of a section header line, or nothing for another line.
std::optional<std::wstring_view> headerName(std::wstring_view line) {
    line = trim(line);
    if (line.empty() || line.front() != L'[') return std::nullopt;
    const std::size_t close = line.find(L']');
    if (close == npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

// The key of an entry line, or nothing for a comment, blank or other line.
std::optional<std::wstring_view> entryKey(std::wstring_view line) {
    const std::wstring_view t = trim(line);
    if (t.empty() || t.front() == L';') return std::nullopt;
    const std::size_t eq = line.find(L'=');
    if (eq == npos) return std::nullopt;
    return trim(line.substr(0, eq));
}

}  // namespace

IniFile::IniFile(std::wstring_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == npos) {
            lines_.emplace_back(text.substr(start));
            break;
        }
        lines_.emplace_back(text.substr(start, end - start));
        start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
    }
}

std::vector<std::wstring> IniFile::sectionNames() const {
    std::vector<std::wstring> names;
    for (const std::wstring& line : lines_) {
        const auto name = headerName(line);
        if (!name) continue;
        bool seen = false;
        for (const std::wstring& earlier : names) seen = seen || sameName(earlier, *name);
        if (!seen) names.emplace_back(*name);
    }
    return names;
}

std::size_t IniFile::findSection(std::wstring_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (auto name = headerName(lines_[i]); name && sameName(*name, section)) return i;
    return npos;
}

std::size_t IniFile::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !headerName(lines_[i])) ++i;
    return i;
}

std::size_t IniFile::findKey(std::size_t header, std::wstring_view key) const {
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (auto k = entryKey(lines_[i]); k && sameName(*k, key)) return i;
    return npos;
}

std::optional<std::wstring> IniFile::read(std::wstring_view section, std::wstring_view key) const {
    const std::size_t header = findSection(section);
    if (header == npos) return std::nullopt;
    const std::size_t line = findKey(header, key);
    if (line == npos) return std::nullopt;
    std::wstring_view value = trim(std::wstring_view(lines_[line]).substr(lines_[line].find(L'=') + 1));
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::wstring(value);
}

void IniFile::write(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    std::wstring v(value);
    for (wchar_t& c : v)
        if (c == L'\r' || c == L'\n') c = L' ';

    std::size_t header = findSection(section);
    if (header == npos) {
        if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back(L"[" + std::wstring(section) + L"]");
        lines_.push_back(std::wstring(key) + L"=" + v);
        return;
    }
    if (const std::size_t line = findKey(header, key); line != npos) {
        const std::wstring& old = lines_[line];
        lines_[line] = old.substr(0, old.find(L'=') + 1) + v;  // keeps the key as the file spells it
        return;
    }
    std::size_t at = sectionEnd(header);
    while (at > header + 1 && trim(lines_[at - 1]).empty()) --at;  // before the blank lines between sections
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::wstring(key) + L"=" + v);
}

std::wstring IniFile::text() const {
    std::wstring out;
    for (const auto& line : lines_) {
        out += line;
        out += L"\r\n";
    }
    return out;
}

}  // namespace base
