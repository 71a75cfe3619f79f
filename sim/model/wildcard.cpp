#include "sim/model/wildcard.h"

#include <string>
#include <vector>

#include "sim/model/text_codec.h"

namespace sim {
namespace {

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool isLetter(char32_t c) {
    if (c < 0x80) return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
    if (c < 0x100) return c >= 0xC0 && c != 0xD7 && c != 0xF7;
    // Beyond Latin-1, everything outside the punctuation and symbol blocks counts as a
    // letter (CJK ideographs, kana, Hangul, Greek, Cyrillic, ...).
    auto in = [c](char32_t lo, char32_t hi) { return c >= lo && c <= hi; };
    return !(in(0x2000, 0x2BFF) || in(0x3000, 0x303F) || in(0xE000, 0xF8FF) || in(0xFE30, 0xFE4F) ||
             in(0xFF00, 0xFF20) || in(0xFF3B, 0xFF40) || in(0xFF5B, 0xFF65) || in(0xFFF0, 0xFFFF));
}

struct Element {
    enum Kind { Literal, AnyOne, Digit, Letter, Other, AnyRun, Set } kind = Literal;
    char32_t c = 0;                                  // Literal, folded
    std::vector<std::pair<char32_t, char32_t>> set;  // Set: folded ranges
    bool negated = false;                            // Set

    bool matches(char32_t x) const {
        switch (kind) {
            case Literal: return foldCase(x) == c;
            case AnyOne: return true;
            case Digit: return isDigit(x);
            case Letter: return isLetter(x);
            case Other: return !isDigit(x) && !isLetter(x);
            case Set: {
                char32_t f = foldCase(x);
                bool inSet = false;
                for (auto [lo, hi] : set) inSet = inSet || (f >= lo && f <= hi) || (x >= lo && x <= hi);
                return inSet != negated;
            }
            case AnyRun: return true;
        }
        return false;
    }
};

struct Alternative {
    std::vector<Element> elements;
    bool negated = false;
};

std::vector<Alternative> parse(const std::u32string& p) {
    std::vector<Alternative> alternatives(1);
    bool atStart = true;
    for (std::size_t i = 0; i < p.size(); ++i) {
        Alternative& alt = alternatives.back();
        char32_t c = p[i];
        Element e;
        if (c == U'~' && atStart) {
            alt.negated = true;
            atStart = false;
            continue;
        }
        atStart = false;
        if (c == U',') {
            alternatives.emplace_back();
            atStart = true;
            continue;
        }
        if (c == U'`' && i + 1 < p.size()) {
            e.c = foldCase(p[++i]);
        } else if (std::size_t end = p.find(U']', i + 1);
                   c == U'[' && end != std::u32string::npos && end > i + 1) {
            std::size_t k = i + 1;
            e.kind = Element::Set;
            if (k < end && p[k] == U'~') e.negated = true, ++k;
            for (; k < end; ++k) {
                if (k + 2 < end && p[k + 1] == U'-') {
                    e.set.push_back({foldCase(p[k]), foldCase(p[k + 2])});
                    k += 2;
                } else {
                    e.set.push_back({foldCase(p[k]), foldCase(p[k])});
                }
            }
            i = end;
        } else {
            e.kind = c == U'?' ? Element::AnyOne : c == U'#' ? Element::Digit : c == U'@' ? Element::Letter
                   : c == U'.' ? Element::Other : c == U'*' ? Element::AnyRun : Element::Literal;
            e.c = foldCase(c);
        }
        alt.elements.push_back(std::move(e));
    }
    return alternatives;
}

// Whole-text match, by the usual table over pattern and text positions.
bool matches(const std::vector<Element>& elements, const std::u32string& text) {
    std::vector<char> row(text.size() + 1, 0), next(text.size() + 1);
    row[0] = 1;
    for (const Element& e : elements) {
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t j = 0; j <= text.size(); ++j) {
            if (e.kind == Element::AnyRun) next[j] = row[j] || (j > 0 && next[j - 1]);
            else if (j > 0) next[j] = row[j - 1] && e.matches(text[j - 1]);
        }
        row.swap(next);
    }
    return row[text.size()] != 0;
}

}  // namespace

bool wildcardMatch(std::wstring_view pattern, std::wstring_view text) {
    std::u32string t = toCodePoints(text);
    for (const Alternative& alt : parse(toCodePoints(pattern)))
        if (matches(alt.elements, t) != alt.negated) return true;
    return false;
}

}  // namespace sim
