// The Windows rename of file_replace.h: one step that replaces the old file.
#include <windows.h>

#include "base/file_replace.h"

namespace base {

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace base
