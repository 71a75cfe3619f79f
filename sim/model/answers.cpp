#include "sim/model/answers.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool number(std::string_view s, double& v) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc() && end == s.data() + s.size() && std::isfinite(v);
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

std::string name(const std::filesystem::path& file) {
    auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

}  // namespace

std::deque<Answer> parseAnswers(std::string_view text, const std::filesystem::path& file) {
    std::deque<Answer> answers;
    std::size_t lineNo = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (line.empty() || line.front() == '#') {
            if (end == text.size()) break;
            continue;
        }
        std::size_t space = line.find_first_of(" \t");
        std::string keyword = lower(line.substr(0, space));
        std::string_view rest = space == std::string_view::npos ? std::string_view() : trim(line.substr(space));
        Answer a;
        a.line = lineNo;
        bool ok = false;
        if (keyword == "cancel") {
            a.kind = Answer::Kind::Cancel;
            ok = rest.empty();
        } else if (keyword == "distance") {
            a.kind = Answer::Kind::Distance;
            ok = number(rest, a.distance);
        } else if (keyword == "point") {
            a.kind = Answer::Kind::Point;
            std::vector<std::string_view> parts;
            for (std::size_t from = 0;;) {
                std::size_t comma = rest.find(',', from);
                parts.push_back(rest.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
                if (comma == std::string_view::npos) break;
                from = comma + 1;
            }
            ok = (parts.size() == 2 || parts.size() == 3) && number(parts[0], a.x) && number(parts[1], a.y) &&
                 (parts.size() == 2 || number(parts[2], a.z));
        }
        if (!ok)
            throw std::invalid_argument(name(file) + ", line " + std::to_string(lineNo) + ": \"" + std::string(line) +
                                        "\" is not an answer; write \"point X,Y\", \"distance D\" or \"cancel\"");
        answers.push_back(a);
        if (end == text.size()) break;
    }
    return answers;
}

std::deque<Answer> readAnswers(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::invalid_argument(name(file) + ": the answers file cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return parseAnswers(text.str(), file);
}

}  // namespace sim
