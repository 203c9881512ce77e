#pragma once

#include <string>
#include <string_view>

#include "store/file_platform.h"

namespace morvane::launch {

// Replaces the file at `path` with `bytes` (creating it when absent) through a temporary file
// beside it, so that it is either the old file or the new one, never a part of either. On
// failure the file is as it was, no temporary file is left, and the result is false.
bool replaceTokenFile(FilePlatform& files, const std::string& path, std::string_view bytes);

}  // namespace morvane::launch
