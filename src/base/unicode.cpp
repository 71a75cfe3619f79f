#include "base/unicode.h"

namespace base {

std::wstring fromCodePoints(std::u32string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0x10000) {
                c -= 0x10000;
                out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
                out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

std::u32string toCodePoints(std::wstring_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    out.push_back(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
            if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        }
        out.push_back(c);
    }
    return out;
}

std::string encodeUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : toCodePoints(text)) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

namespace {

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 when malformed.
std::size_t decodeOne(std::string_view text, std::size_t i, char32_t& c) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char b = byte(i);
    std::size_t length;
    char32_t min;
    if (b < 0x80) {
        c = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        length = 2, c = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3, c = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4, c = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::wstring decodeUtf8(std::string_view text) {
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        std::size_t n = decodeOne(text, i, c);
        if (n == 0) {
            points.push_back(0xFFFD);
            ++i;
        } else {
            points.push_back(c);
            i += n;
        }
    }
    return fromCodePoints(points);
}

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c;
        std::size_t n = decodeOne(bytes, i, c);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace base
