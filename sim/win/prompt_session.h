// One prompt of the input utility asked in the view, portable: the view feeds it clicks
// (in drawing units) and keys, and it decides when the prompt is answered. A point is a
// click or typed "X,Y" + Enter; a distance is two clicks or a typed number + Enter;
// Escape cancels.
#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "sim/model/host.h"

namespace sim {

// A number written with '.' as the decimal mark, spaces around allowed; nothing else.
inline std::optional<double> parseNumber(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 64) return std::nullopt;
    std::string narrow;
    for (wchar_t c : text) {
        if (c > 127) return std::nullopt;
        narrow += static_cast<char>(c);
    }
    const char* begin = narrow.data() + (narrow[0] == '+' ? 1 : 0);
    double value = 0;
    const auto [end, ec] = std::from_chars(begin, narrow.data() + narrow.size(), value);
    if (ec != std::errc() || end != narrow.data() + narrow.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

class PromptSession {
public:
    explicit PromptSession(PromptRequest request) : request_(std::move(request)) {}

    bool done() const { return done_; }
    const PromptAnswer& answer() const { return answer_; }
    const PromptRequest& request() const { return request_; }
    // The first point of a distance given by two clicks, once clicked.
    const std::optional<Vec2>& firstPoint() const { return first_; }

    // What the status line shows: the prompt, what was typed, and a complaint about
    // input that was not understood.
    std::wstring statusText() const {
        std::wstring s = request_.text + typed_;
        if (!complaint_.empty()) s += L"    (" + complaint_ + L")";
        return s;
    }

    void click(Vec2 p) {
        if (done_) return;
        complaint_.clear();
        if (request_.kind == PromptRequest::Kind::Point) return finish(p.x, p.y, 0);
        if (!first_) {
            first_ = p;
            return;
        }
        finish(0, 0, std::hypot(p.x - first_->x, p.y - first_->y));
    }

    void typeChar(wchar_t c) {
        if (done_) return;
        if (c == L'\b') {
            if (!typed_.empty()) typed_.pop_back();
        } else if (c >= L' ' && typed_.size() < 64) {
            typed_ += c;
        }
    }

    void enter() {
        if (done_ || typed_.empty()) return;
        if (request_.kind == PromptRequest::Kind::Distance) {
            if (const auto d = parseNumber(typed_)) return finish(0, 0, *d);
            return complain(L"a number is needed");
        }
        const size_t comma = typed_.find(L',');
        if (comma != std::wstring::npos) {
            const auto x = parseNumber(std::wstring_view(typed_).substr(0, comma));
            const auto y = parseNumber(std::wstring_view(typed_).substr(comma + 1));
            if (x && y) return finish(*x, *y, 0);
        }
        complain(L"a point is written X,Y");
    }

    void escape() {
        if (done_) return;
        done_ = true;
        answer_ = PromptAnswer{};  // cancelled
    }

private:
    void finish(double x, double y, double distance) {
        done_ = true;
        answer_ = PromptAnswer{false, x, y, distance};
    }
    void complain(const wchar_t* what) {
        complaint_ = what;
        typed_.clear();
    }

    PromptRequest request_;
    std::optional<Vec2> first_;
    std::wstring typed_;
    std::wstring complaint_;
    bool done_ = false;
    PromptAnswer answer_;
};

}  // namespace sim
