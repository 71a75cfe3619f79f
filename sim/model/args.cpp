#include "sim/model/args.h"

#include <cmath>
#include <limits>

namespace sim {

void hostError(const cad::Member& member, const std::wstring& text) {
    throw cad::CadError(std::wstring(member.name) + L": " + text);
}

void Args::count(std::size_t min, std::size_t max) const {
    std::size_t n = args_.size();
    while (n > min && args_[n - 1].is<cad::Omitted>()) --n;
    if (n < min || n > max) {
        std::wstring expected = min == max ? std::to_wstring(min) : std::to_wstring(min) + L" to " + std::to_wstring(max);
        hostError(member_, L"invalid number of parameters (" + std::to_wstring(args_.size()) + L" given, " + expected +
                               L" expected)");
    }
}

bool Args::given(std::size_t i) const { return i < args_.size() && !args_[i].is<cad::Omitted>(); }

void Args::wrong(std::size_t i, const wchar_t* expected) const {
    hostError(member_, L"invalid argument " + std::to_wstring(i + 1) + L": " + expected + L" expected");
}

namespace {

bool wholeNumber(const cad::Value& v, double& out) {
    if (auto* s = v.get<std::int16_t>()) return out = *s, true;
    if (auto* l = v.get<std::int32_t>()) return out = *l, true;
    if (auto* d = v.get<double>()) return out = *d, std::isfinite(*d);
    return false;
}

}  // namespace

std::int32_t Args::integer(std::size_t i) const {
    double v = 0;
    if (!given(i) || !wholeNumber(args_[i], v) || v != std::floor(v) || v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        wrong(i, L"a whole number");
    return static_cast<std::int32_t>(v);
}

double Args::number(std::size_t i) const {
    double v = 0;
    if (!given(i) || !wholeNumber(args_[i], v)) wrong(i, L"a number");
    return v;
}

bool Args::flag(std::size_t i) const {
    if (given(i)) {
        if (auto* b = args_[i].get<bool>()) return *b;
        if (auto* s = args_[i].get<std::int16_t>()) return *s != 0;
        if (auto* l = args_[i].get<std::int32_t>()) return *l != 0;
    }
    wrong(i, L"a boolean");
}

std::wstring Args::text(std::size_t i) const {
    if (given(i))
        if (auto* s = args_[i].get<std::wstring>()) return *s;
    wrong(i, L"a string");
}

std::optional<Vec2> Args::optionalPoint(std::size_t i) const {
    if (!given(i) || args_[i].is<cad::Empty>()) return std::nullopt;
    return point(i);
}

Vec2 Args::point(std::size_t i) const {
    std::vector<double> numbers;
    if (given(i)) {
        if (auto* d = args_[i].get<std::vector<double>>()) {
            numbers = *d;
        } else if (auto* list = args_[i].get<cad::ValueList>()) {
            for (const cad::Value& item : *list) {
                double v = 0;
                if (!wholeNumber(item, v)) wrong(i, L"a point (an array of 2 or 3 numbers)");
                numbers.push_back(v);
            }
        }
    }
    bool finite = true;
    for (double v : numbers) finite = finite && std::isfinite(v);
    if ((numbers.size() != 2 && numbers.size() != 3) || !finite) wrong(i, L"a point (an array of 2 or 3 numbers)");
    return Vec2{numbers[0], numbers[1]};
}

std::vector<std::int16_t> Args::shorts(std::size_t i) const {
    if (given(i)) {
        if (auto* s = args_[i].get<std::vector<std::int16_t>>()) return *s;
        if (auto* list = args_[i].get<cad::ValueList>()) {
            std::vector<std::int16_t> out;
            for (const cad::Value& item : *list) {
                double v = 0;
                if (!wholeNumber(item, v) || v != std::floor(v) || v < -32768 || v > 32767)
                    wrong(i, L"an array of 16-bit integers");
                out.push_back(static_cast<std::int16_t>(v));
            }
            return out;
        }
    }
    wrong(i, L"an array of 16-bit integers");
}

std::vector<std::wstring> Args::strings(std::size_t i) const {
    if (given(i)) {
        if (auto* s = args_[i].get<std::vector<std::wstring>>()) return *s;
        if (auto* list = args_[i].get<cad::ValueList>()) {
            std::vector<std::wstring> out;
            for (const cad::Value& item : *list) {
                auto* s = item.get<std::wstring>();
                if (!s) wrong(i, L"an array of strings");
                out.push_back(*s);
            }
            return out;
        }
    }
    wrong(i, L"an array of strings");
}

}  // namespace sim
