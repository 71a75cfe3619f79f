// The arguments of one automation call, read with the shapes the host accepts. A wrong
// shape throws cad::CadError naming the member and the argument, as a host would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cad/members.h"
#include "cad/value.h"
#include "sim/model/drawing.h"

namespace sim {

[[noreturn]] void hostError(const cad::Member& member, const std::wstring& text);

class Args {
public:
    Args(const cad::Member& member, cad::ValueList& args) : member_(member), args_(args) {}

    // Between min and max arguments; absent trailing ones count as omitted.
    void count(std::size_t min, std::size_t max) const;
    bool given(std::size_t i) const;  // present and not omitted
    cad::Value& at(std::size_t i) { return args_[i]; }

    std::int32_t integer(std::size_t i) const;  // whole numbers of any integer type
    double number(std::size_t i) const;         // finite numbers of any numeric type
    bool flag(std::size_t i) const;             // booleans (integers: non-zero is true)
    std::wstring text(std::size_t i) const;
    Vec2 point(std::size_t i) const;            // 2 or 3 numbers; z ignored
    std::optional<Vec2> optionalPoint(std::size_t i) const;
    std::vector<std::int16_t> shorts(std::size_t i) const;
    std::vector<std::wstring> strings(std::size_t i) const;

    [[noreturn]] void wrong(std::size_t i, const wchar_t* expected) const;

private:
    const cad::Member& member_;
    cad::ValueList& args_;
};

}  // namespace sim
