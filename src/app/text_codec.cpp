// Text conversions (see text_codec.h).
#include "app/text_codec.h"

#include <cstdint>

namespace app {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

// The code points of wide text; a lone surrogate becomes U+FFFD.
template <class F>
void forEachCodePoint(std::wstring_view text, F&& f) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    f(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
        f(c);
    }
}

}  // namespace

std::wstring fromUtf8(std::string_view bytes, bool* valid) {
    std::wstring out;
    bool ok = true;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        int len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
        char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
        bool good = len > 0 && i + len <= bytes.size();
        for (int k = 1; good && k < len; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            if ((b & 0xC0) != 0x80) good = false;
            cp = (cp << 6) | (b & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are malformed too.
        static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (good && (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) good = false;
        if (!good) {
            ok = false;
            appendCodePoint(out, kReplacement);
            ++i;
            continue;
        }
        appendCodePoint(out, cp);
        i += len;
    }
    if (valid) *valid = ok;
    return out;
}

std::string toUtf8(std::wstring_view text) {
    std::string out;
    forEachCodePoint(text, [&](char32_t c) {
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
    });
    return out;
}

std::wstring fromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring out;
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
                appendCodePoint(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        appendCodePoint(out, (c >= 0xD800 && c <= 0xDFFF) ? kReplacement : c);
    }
    return out;
}

std::string toUtf16Le(std::wstring_view text) {
    std::string out;
    auto put = [&](char32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    forEachCodePoint(text, [&](char32_t c) {
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    });
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

}  // namespace app
