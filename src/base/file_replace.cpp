// Writing a file whole or not at all (see file_replace.h). The rename is the platform's:
// here for POSIX, in file_replace_win.cpp for Windows.
#include "base/file_replace.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace base {

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (ec) throw std::runtime_error("ファイルを確かめられません: " + path.string());
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("ファイルを開けません: " + path.string());
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("ファイルを読めません: " + path.string());
    return bytes;
}

bool replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    std::random_device random;
    std::filesystem::path temp = path;
    temp += ".tmp" + std::to_string(random() % 1000000);
    bool written = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
            written = static_cast<bool>(out);
            out.close();
            written = written && !out.fail();
        }
    }
    if (written && renameOver(temp, path)) return true;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
}

#ifndef _WIN32
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

// A rename replaces what it finds here; a hard link never does, and fails with
// "file exists" instead. The old name is then let go.
std::error_code moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::create_hard_link(from, to, ec);
    if (ec) return ec;
    std::error_code ignored;  // the file has its new name; the old one left over only costs a name
    std::filesystem::remove(from, ignored);
    return {};
}
#endif

}  // namespace base
