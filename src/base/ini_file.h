// An INI-form text kept line by line, so that writing a key changes that one line and
// every other section, key, comment and blank line stays as it was. Sections and keys
// match without regard to ASCII letter case; the first of equal sections or keys wins.
// As the system's profile functions do, a value is read without the blanks around it
// and without one pair of enclosing quotes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::wstring_view text);  // lines end in CR LF, LF or CR

    std::optional<std::wstring> read(std::wstring_view section, std::wstring_view key) const;
    // Sets the first such key; a missing key goes after the last entry of the section,
    // a missing section to the end. Line breaks in the value become spaces.
    void write(std::wstring_view section, std::wstring_view key, std::wstring_view value);

    // The names of the sections in file order, each once (its first spelling).
    std::vector<std::wstring> sectionNames() const;

    std::wstring text() const;  // every line ended by CR LF
    const std::vector<std::wstring>& lines() const { return lines_; }

private:
    // Index of the header line of the first such section, or npos.
    std::size_t findSection(std::wstring_view section) const;
    // Index past the section's last line (the next header or the end).
    std::size_t sectionEnd(std::size_t header) const;
    std::size_t findKey(std::size_t header, std::wstring_view key) const;

    std::vector<std::wstring> lines_;
};

}  // namespace base
