#include "sheets/sheet_names.h"

#include <array>
#include <cstdint>
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

// The length of the part of `name` the system takes for a device, or 0: CON, PRN, AUX,
// NUL, CONIN$, CONOUT$, COM and LPT with a digit 1-9 or a superscript 1, 2 or 3, in any
// letter case, alone or before a dot, spaces and dots after them set aside ("NUL .x").
std::size_t deviceNameLength(std::wstring_view name) {
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (base::sameNameIgnoringCase(stem, device)) return stem.size();
    if (stem.size() != 4) return 0;
    const wchar_t digit = stem[3];
    const bool numbered = (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
    if (numbered && (base::sameNameIgnoringCase(stem.substr(0, 3), L"COM") || base::sameNameIgnoringCase(stem.substr(0, 3), L"LPT")))
        return stem.size();
    return 0;
}

// UTF-16 units of a text, as the system counts a path's length (wchar_t is 32-bit off Windows).
std::size_t utf16Length(std::wstring_view text) {
    std::size_t n = 0;
    for (wchar_t c : text) n += (static_cast<std::uint32_t>(c) >> 16) != 0 ? 2 : 1;  // beyond 16 bits: a pair
    return n;
}

// Takes the last character off a text, both halves of a surrogate pair; the UTF-16
// units it took.
std::size_t dropLastCharacter(std::wstring& text) {
    const wchar_t last = text.back();
    text.pop_back();
    if (last >= 0xDC00 && last <= 0xDFFF && !text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) {
        text.pop_back();
        return 2;
    }
    return utf16Length(std::wstring_view(&last, 1));
}

// A part of a name: the sheet's number, or free text (a run of the pattern's own text,
// the drawing's name, the date, an attribute's text).
struct Piece {
    enum Kind { Text, Field, Number } kind = Text;
    std::wstring text;
};

// Shortens the free text of `pieces` until all of them take at most `room` UTF-16 units:
// a character at a time off the end of the longest field (the last of equal ones), and
// only once the fields are empty off the longest run of the pattern's own text, which
// the user wrote as it should stay. The number is never cut; it alone may still be
// longer than `room`.
void shortenFreeText(std::vector<Piece>& pieces, std::size_t room) {
    std::vector<std::size_t> lengths;
    std::size_t total = 0;
    for (const Piece& p : pieces) total += lengths.emplace_back(utf16Length(p.text));
    for (const Piece::Kind kind : {Piece::Field, Piece::Text}) {
        while (total > room) {
            std::size_t longest = pieces.size();
            for (std::size_t k = 0; k < pieces.size(); ++k)
                if (pieces[k].kind == kind && lengths[k] > 0 && (longest == pieces.size() || lengths[k] >= lengths[longest]))
                    longest = k;
            if (longest == pieces.size()) break;
            const std::size_t dropped = dropLastCharacter(pieces[longest].text);
            lengths[longest] -= dropped;
            total -= dropped;
        }
    }
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

std::wstring sheetBaseName(std::wstring_view pattern, const SheetFields& fields, std::size_t room) {
    std::vector<Piece> pieces;
    const auto patternText = [&]() -> std::wstring& {
        if (pieces.empty() || pieces.back().kind != Piece::Text) pieces.emplace_back();
        return pieces.back().text;
    };
    const auto field = [&]() -> std::wstring& { return pieces.emplace_back(Piece{Piece::Field, {}}).text; };
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != L'{') {
            patternText() += pattern[i++];
            continue;
        }
        const Token t = readToken(pattern, i);
        switch (t.kind) {
            case Token::Drawing: field() = fields.drawing; break;
            case Token::Date: field() = fields.date; break;
            case Token::Number: {
                std::wstring digits = std::to_wstring(fields.number);
                if (digits.size() < static_cast<std::size_t>(t.width)) digits.insert(0, t.width - digits.size(), L'0');
                pieces.push_back({Piece::Number, std::move(digits)});
                break;
            }
            case Token::Attribute:
                if (fields.attributes)
                    for (const cad::BlockAttribute& a : *fields.attributes)
                        if (base::sameNameIgnoringCase(a.tag, t.tag)) {
                            field() = a.text;
                            break;
                        }
                break;
            case Token::Unknown: case Token::Unclosed: patternText() += t.text; break;
        }
        i = t.end;
    }
    shortenFreeText(pieces, room);
    std::wstring name;
    for (const Piece& p : pieces) name += p.text;
    for (wchar_t& c : name)
        if (forbidden(c)) c = L'_';
    while (!name.empty() && (name.back() == L' ' || name.back() == L'.')) name.pop_back();
    if (name.empty()) name = std::to_wstring(fields.number);
    if (const std::size_t device = deviceNameLength(name)) name.insert(device, L"_");
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
    return next([&baseName](std::size_t) { return baseName; });
}

std::wstring SheetFileNames::next(const std::function<std::wstring(std::size_t room)>& baseName) {
    const std::size_t folderLength = utf16Length(joinPath(folder_, L""));
    for (int copy = 1;; ++copy) {
        const std::wstring suffix = copy == 1 ? L"" : L" (" + std::to_wstring(copy) + L")";
        const std::size_t fixed = folderLength + utf16Length(suffix) + utf16Length(extension_);
        const std::wstring name = baseName(fixed < kMaxPathLength ? kMaxPathLength - fixed : 0) + suffix;
        const std::wstring path = joinPath(folder_, name + extension_);
        if (used_.count(folded(path)) || exists_(path)) continue;
        used_.insert(folded(path));
        return path;
    }
}

}  // namespace plot
