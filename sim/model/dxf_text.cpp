#include "sim/model/dxf_text.h"

#include "sim/model/text_codec.h"

namespace sim::dxf {
namespace {

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// \U+XXXX (exactly four hex digits) is the code point XXXX; two in a row may form a
// surrogate pair.
std::wstring resolveUnicodeEscapes(const std::wstring& in) {
    if (in.find(L"\\U+") == std::wstring::npos && in.find(L"\\u+") == std::wstring::npos) return in;
    std::u32string out;
    std::u32string points = toCodePoints(in);
    for (std::size_t i = 0; i < points.size();) {
        if (points[i] == U'\\' && i + 7 <= points.size() && (points[i + 1] == U'U' || points[i + 1] == U'u') &&
            points[i + 2] == U'+') {
            char32_t v = 0;
            bool ok = true;
            for (std::size_t k = 3; k < 7; ++k) {
                int d = points[i + k] < 0x80 ? hexDigit(static_cast<wchar_t>(points[i + k])) : -1;
                if (d < 0) ok = false;
                v = v * 16 + static_cast<char32_t>(d < 0 ? 0 : d);
            }
            if (ok) {
                if (v >= 0xDC00 && v <= 0xDFFF && !out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF)
                    out.back() = 0x10000 + ((out.back() - 0xD800) << 10) + (v - 0xDC00);
                else
                    out.push_back(v);
                i += 7;
                continue;
            }
        }
        out.push_back(points[i]);
        ++i;
    }
    for (char32_t& c : out)
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    return fromCodePoints(out);
}

}  // namespace

std::wstring TextDecoder::operator()(std::string_view raw) const {
    std::wstring text = (utf8_ || isUtf8(raw)) ? decodeUtf8(raw) : fromAnsi(raw);
    return resolveUnicodeEscapes(text);
}

std::wstring plainText(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && text[i + 1] == L'%') {
            const wchar_t c = static_cast<wchar_t>(foldCase(static_cast<char32_t>(text[i + 2])));
            const wchar_t* symbol = c == L'd' ? L"\u00B0" : c == L'p' ? L"\u00B1" : c == L'c' ? L"\u2300" : c == L'%' ? L"%" : nullptr;
            if (symbol || c == L'u' || c == L'o' || c == L'k') {
                if (symbol) out += symbol;
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::wstring plainMText(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'{' || c == L'}') continue;
        if (c != L'\\' || i + 1 >= text.size()) {
            out.push_back(c);
            continue;
        }
        wchar_t code = text[++i];
        switch (code) {
            case L'P': case L'n': out.push_back(L'\n'); break;
            case L'~': out.push_back(L'\u00A0'); break;
            case L'\\': case L'{': case L'}': out.push_back(code); break;
            case L'L': case L'l': case L'O': case L'o': case L'K': case L'k': break;
            case L'S': {  // stacked fraction up^down: shown as up/down
                std::size_t end = text.find(L';', i);
                std::wstring_view stack = text.substr(i + 1, end == std::wstring_view::npos ? std::wstring_view::npos : end - i - 1);
                for (wchar_t s : stack) out.push_back(s == L'^' || s == L'#' ? L'/' : s);
                i = end == std::wstring_view::npos ? text.size() : end;
                break;
            }
            case L'A': case L'C': case L'c': case L'F': case L'f': case L'H': case L'h': case L'Q':
            case L'q': case L'T': case L't': case L'W': case L'w': case L'p': {
                std::size_t end = text.find(L';', i);
                i = end == std::wstring_view::npos ? text.size() : end;
                break;
            }
            default: out.push_back(L'\\'); out.push_back(code); break;
        }
    }
    return out;
}

}  // namespace sim::dxf
