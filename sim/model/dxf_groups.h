// The group-code / value pairs of an ASCII DXF file, with the line each came from.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sim/model/drawing.h"

namespace sim::dxf {

struct Group {
    int code = 0;
    std::string_view value;  // the raw bytes of the value line (line end removed)
    std::size_t line = 0;    // 1-based line of the group code
};

class Groups {
public:
    // Splits the text into pairs; throws DxfError for a group code that is not a whole
    // number or a file that ends between a code and its value. 999 comments are dropped.
    Groups(std::string_view text, std::filesystem::path file);

    std::size_t size() const { return groups_.size(); }
    const Group& operator[](std::size_t i) const { return groups_[i]; }
    // The line just past the end of the file, where a missing group would have been.
    std::size_t endLine() const { return endLine_; }

    [[noreturn]] void fail(std::size_t line, const std::string& reason) const;
    // The value as a number; a value that is not a finite number throws DxfError naming
    // the value's line.
    double number(const Group& g) const;
    long integer(const Group& g) const;

private:
    std::filesystem::path file_;
    std::vector<Group> groups_;
    std::size_t endLine_ = 1;
};

bool isCode0(const Group& g, std::string_view value);
std::string_view trimmed(std::string_view s);

}  // namespace sim::dxf
