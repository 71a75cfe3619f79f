#include "sheets/sheet_names.h"

#include <array>
#include <utility>

#include "base/names.h"

namespace plot {

namespace {

// One token of a pattern, found at `pattern[start]` (a '{'); `end` lies after its '}'.
struct Token {
    enum Kind { Drawing, Number, Date, Attribute, Unknown, Unclosed } kind = Unknown;
    std::size_t end = 0;
    int width = 0;           // Number: the zero-padded width, 0 for none
    std::wstring_view text;  // the token as written, braces included; Attribute: its tag in `tag`
    std::wstring_view tag;
};

Token readToken(std::wstring_view pattern, std::size_t start) {
    Token t;
    const std::size_t close = pattern.find(L'}', start);
    if (close == std::wstring_view::npos) {
        t.kind = Token::Unclosed;
        t.end = pattern.size();
        t.text = pattern.substr(start);
        return t;
    }
    t.end = close + 1;
    t.text = pattern.substr(start, t.end - start);
    const std::wstring_view inner = pattern.substr(start + 1, close - start - 1);
    if (inner == L"drawing") {
        t.kind = Token::Drawing;
    } else if (inner == L"date") {
        t.kind = Token::Date;
    } else if (inner == L"n") {
        t.kind = Token::Number;
    } else if (inner.size() == 4 && inner.substr(0, 3) == L"n:0" && inner[3] >= L'1' && inner[3] <= L'9') {
        t.kind = Token::Number;
        t.width = inner[3] - L'0';
    } else if (inner.size() > 5 && inner.substr(0, 5) == L"attr:") {
        t.kind = Token::Attribute;
        t.tag = inner.substr(5);
    }
    return t;
}

bool forbidden(wchar_t c) {
    return c < 0x20 || c == L'\\' || c == L'/' || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' ||
           c == L'>' || c == L'|';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, alone or before a dot: the system takes them
// for devices.
bool deviceName(std::wstring_view name) {
    const std::wstring_view stem = name.substr(0, name.find(L'.'));
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (base::sameNameIgnoringCase(stem, device)) return true;
    if (stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9')
        return base::sameNameIgnoringCase(stem.substr(0, 3), L"COM") || base::sameNameIgnoringCase(stem.substr(0, 3), L"LPT");
    return false;
}

std::wstring folded(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = static_cast<wchar_t>(base::foldCase(c));
    return out;
}

}  // namespace

std::optional<std::wstring> patternProblem(std::wstring_view pattern) {
    for (std::size_t i = pattern.find(L'{'); i != std::wstring_view::npos; i = pattern.find(L'{', i)) {
        const Token t = readToken(pattern, i);
        if (t.kind == Token::Unclosed) return L"ファイル名の型 " + std::wstring(pattern) + L" の { が } で閉じられていません。";
        if (t.kind == Token::Unknown)
            return L"ファイル名の型 " + std::wstring(pattern) + L" の " + std::wstring(t.text) +
                   L" は使えません ({drawing} {n} {n:02} {date} {attr:タグ} が使えます)。";
        i = t.end;
    }
    return std::nullopt;
}

bool patternUsesAttributes(std::wstring_view pattern) {
    for (std::size_t i = pattern.find(L'{'); i != std::wstring_view::npos; i = pattern.find(L'{', i)) {
        const Token t = readToken(pattern, i);
        if (t.kind == Token::Attribute) return true;
        i = t.end;
    }
    return false;
}

std::wstring sheetBaseName(std::wstring_view pattern, const SheetFields& fields) {
    std::wstring name;
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != L'{') {
            name += pattern[i++];
            continue;
        }
        const Token t = readToken(pattern, i);
        switch (t.kind) {
            case Token::Drawing: name += fields.drawing; break;
            case Token::Date: name += fields.date; break;
            case Token::Number: {
                std::wstring digits = std::to_wstring(fields.number);
                if (digits.size() < static_cast<std::size_t>(t.width)) digits.insert(0, t.width - digits.size(), L'0');
                name += digits;
                break;
            }
            case Token::Attribute:
                if (fields.attributes)
                    for (const cad::BlockAttribute& a : *fields.attributes)
                        if (base::sameNameIgnoringCase(a.tag, t.tag)) {
                            name += a.text;
                            break;
                        }
                break;
            case Token::Unknown: case Token::Unclosed: name += t.text; break;
        }
        i = t.end;
    }
    for (wchar_t& c : name)
        if (forbidden(c)) c = L'_';
    while (!name.empty() && (name.back() == L' ' || name.back() == L'.')) name.pop_back();
    if (name.empty()) name = std::to_wstring(fields.number);
    if (deviceName(name)) name.insert(name.find(L'.') == std::wstring::npos ? name.size() : name.find(L'.'), L"_");
    return name;
}

std::wstring drawingStem(std::wstring_view fileName) {
    const std::size_t dot = fileName.rfind(L'.');
    return std::wstring(dot == std::wstring_view::npos || dot == 0 ? fileName : fileName.substr(0, dot));
}

std::wstring plotFileExtension(std::wstring_view device) {
    return folded(device).find(L"pdf") != std::wstring::npos ? L".pdf" : L".plt";
}

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    // The folder's own separator: "\\" unless it is written with "/" only.
    const bool slashes = folder.find(L'/') != std::wstring_view::npos && folder.find(L'\\') == std::wstring_view::npos;
    const wchar_t separator = slashes ? L'/' : L'\\';
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += separator;
    return path + std::wstring(name);
}

SheetFileNames::SheetFileNames(std::wstring folder, std::wstring extension,
                               std::function<bool(const std::wstring&)> exists)
    : folder_(std::move(folder)), extension_(std::move(extension)), exists_(std::move(exists)) {}

std::wstring SheetFileNames::next(const std::wstring& baseName) {
    for (int copy = 1;; ++copy) {
        const std::wstring name = copy == 1 ? baseName : baseName + L" (" + std::to_wstring(copy) + L")";
        const std::wstring path = joinPath(folder_, name + extension_);
        if (used_.count(folded(path)) || exists_(path)) continue;
        used_.insert(folded(path));
        return path;
    }
}

}  // namespace plot
