// Strings of a DXF file: the file's encoding and its escapes, and the plain text of
// TEXT and MTEXT contents.
#pragma once

#include <string>
#include <string_view>

namespace sim::dxf {

class TextDecoder {
public:
    // $ACADVER AC1021 (R2007) and later write UTF-8; older files write the ANSI code
    // page, often Windows-1252, but some writers put UTF-8 in them anyway.
    explicit TextDecoder(bool utf8 = false) : utf8_(utf8) {}
    // Decoded text with \U+XXXX escapes resolved.
    std::wstring operator()(std::string_view raw) const;

private:
    bool utf8_;
};

// TEXT contents: %%d, %%p, %%c become their symbols, %%u/%%o (underline, overline
// toggles) are dropped and %%% is a percent sign.
std::wstring plainText(std::wstring_view text);
// MTEXT contents without their formatting codes; \P paragraph breaks become '\n'.
std::wstring plainMText(std::wstring_view text);

}  // namespace sim::dxf
