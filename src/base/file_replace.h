// Writing a file whole or not at all.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

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

// Gives the file `from` the name `to` unless something has that name already, in one
// step: a file that appears at `to` meanwhile is never replaced. The error is
// std::errc::file_exists when `to` exists, the system's reason when the move fails
// otherwise; on failure nothing has changed.
std::error_code moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace base
