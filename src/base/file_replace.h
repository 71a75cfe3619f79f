// Writing a file whole or not at all.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// The file's bytes; nothing when it does not exist. Throws std::runtime_error when it
// exists but cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Writes `bytes` to a new file beside `path` and then puts it in place of `path` in one
// step. False when the folder or the disk refuses at any point; the old file is then
// untouched and no temporary file is left behind.
bool replaceFile(const std::filesystem::path& path, std::string_view bytes);

// Puts `from` in place of `to` in one step (the platform's atomic rename).
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace base
