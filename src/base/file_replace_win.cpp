// The Windows rename of file_replace.h: one step that replaces the old file.
#include <windows.h>

#include "base/file_replace.h"

namespace base {

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Without MOVEFILE_REPLACE_EXISTING the move fails when the new name is taken.
std::error_code moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return {};
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return std::make_error_code(std::errc::file_exists);
    return std::error_code(static_cast<int>(error), std::system_category());
}

}  // namespace base
