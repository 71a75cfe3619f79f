// Text conversions (see text_codec.h).
#include "base/text_codec.h"

#include <cstdint>

#include "base/unicode.h"

namespace base {

std::wstring fromUtf8(std::string_view bytes, bool* valid) {
    if (valid) *valid = base::isUtf8(bytes);
    return base::decodeUtf8(bytes);
}

std::string toUtf8(std::wstring_view text) { return base::encodeUtf8(text); }

std::wstring fromUtf16(std::string_view bytes, bool bigEndian) {
    std::u32string points;
    const std::size_t n = bytes.size() / 2;
    auto unit = [&](std::size_t k) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * k]), b = static_cast<unsigned char>(bytes[2 * k + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t k = 0; k < n; ++k) {
        const char32_t c = unit(k);
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < n) {
            const char32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                points.push_back(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        points.push_back(c);  // a lone surrogate becomes U+FFFD
    }
    return base::fromCodePoints(points);
}

std::string toUtf16Le(std::wstring_view text) {
    std::string out;
    auto put = [&](char32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    for (char32_t c : base::toCodePoints(text)) {
        if (c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

DecodedText decodeText(std::string_view bytes, const std::function<std::wstring(std::string_view)>& decodeAnsi) {
    if (bytes.starts_with("\xFF\xFE")) return {fromUtf16(bytes.substr(2), false), TextEncoding::Utf16Le};
    if (bytes.starts_with("\xFE\xFF")) return {fromUtf16(bytes.substr(2), true), TextEncoding::Utf16Be};
    if (bytes.starts_with("\xEF\xBB\xBF")) return {fromUtf8(bytes.substr(3)), TextEncoding::Utf8Bom};
    bool valid = false;
    std::wstring text = fromUtf8(bytes, &valid);
    if (valid || !decodeAnsi) return {std::move(text), TextEncoding::Utf8};
    return {decodeAnsi(bytes), TextEncoding::Ansi};
}

std::filesystem::path toPath(const std::wstring& text) {
#ifdef _WIN32
    return std::filesystem::path(text);
#else
    const std::string utf8 = toUtf8(text);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

std::wstring pathText(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.wstring();
#else
    const std::u8string utf8 = path.u8string();
    return fromUtf8(std::string(utf8.begin(), utf8.end()));
#endif
}

}  // namespace base
