#include "launch/token_file_replace.h"

namespace morvane::launch {

bool replaceTokenFile(FilePlatform& files, const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".morvane-new";
    if (files.writeFile(temporary, bytes) && files.replaceFile(temporary, path)) return true;
    files.removeFile(temporary);
    return false;
}

}  // namespace morvane::launch
