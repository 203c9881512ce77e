#include "tools/uiscript/scenario_files.h"

#include <system_error>
#include <vector>

#include "store/text.h"

namespace morvane::uiscript {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> elements(std::string_view path) {
    std::vector<std::string> result;
    std::string element;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\' && path[i] != '/') {
            element += path[i];
            continue;
        }
        if (element == "..") {
            if (!result.empty()) result.pop_back();
        } else if (!element.empty() && element != ".") {
            result.push_back(element);
        }
        element.clear();
    }
    return result;
}

// The existing entry of `folder` that Windows would take for `name`, or `name` itself.
fs::path entry(const fs::path& folder, const std::string& name) {
    std::error_code error;
    if (fs::exists(folder / name, error)) return folder / name;
    for (const auto& item : fs::directory_iterator(folder, error)) {
        if (text::equalsNoCase(item.path().filename().string(), name)) return item.path();
    }
    return folder / name;
}

}  // namespace

ScenarioFiles::ScenarioFiles(std::string folder, fs::path folderHost, fs::path drives)
    : SandboxFiles(drives, folder + "\\morvane.exe"),
      folder_(std::move(folder)),
      folderHost_(std::move(folderHost)),
      drives_(std::move(drives)) {}

fs::path ScenarioFiles::hostPath(const std::string& windowsPath) const {
    std::string path = windowsPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    std::string_view rest = path;
    fs::path host = folderHost_;
    const bool inFolder = text::equalsNoCase(rest.substr(0, folder_.size()), folder_) &&
                          (rest.size() == folder_.size() || rest[folder_.size()] == '\\');
    if (inFolder) {
        rest.remove_prefix(folder_.size());
    } else if (rest.size() >= 2 && rest[1] == ':') {
        char drive = rest[0];
        if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
        host = drives_ / std::string(1, drive);
        std::error_code error;
        fs::create_directories(host, error);  // every drive has its root
        rest.remove_prefix(2);
    }
    for (const std::string& element : elements(rest)) host = entry(host, element);
    return host;
}

bool ScenarioFiles::makeParentFolders(const std::string& windowsPath) {
    std::error_code error;
    fs::create_directories(hostPath(windowsPath).parent_path(), error);
    return !error;
}

}  // namespace morvane::uiscript
