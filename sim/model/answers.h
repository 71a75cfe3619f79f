// Scripted answers for the host's prompts (--answers FILE), one a line:
//   point X,Y      a picked point (X,Y,Z also accepted)
//   distance D     a typed distance
//   cancel         the user pressed Escape
// Blank lines and lines starting with # are skipped.
#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <string_view>

namespace sim {

struct Answer {
    enum class Kind { Point, Distance, Cancel } kind = Kind::Cancel;
    double x = 0, y = 0, z = 0;
    double distance = 0;
    std::size_t line = 0;
};

// Throws std::invalid_argument naming the file and line for a line it cannot read, or
// when the file cannot be read at all.
std::deque<Answer> readAnswers(const std::filesystem::path& file);
std::deque<Answer> parseAnswers(std::string_view text, const std::filesystem::path& nameForMessages);

}  // namespace sim
