#include "tools/uiscript/scenario_files.h"

#include <fstream>
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
    : folder_(std::move(folder)), folderHost_(std::move(folderHost)), drives_(std::move(drives)) {}

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

FilePlatform::ReadResult ScenarioFiles::readFile(const std::string& path,
                                                 std::string& bytes) const {
    const fs::path host = hostPath(path);
    std::error_code error;
    if (!fs::exists(host, error)) return ReadResult::Absent;
    if (fs::is_directory(host, error)) return ReadResult::Unreadable;
    std::ifstream in(host, std::ios::binary);
    if (!in) return ReadResult::Unreadable;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? ReadResult::Unreadable : ReadResult::Ok;
}

bool ScenarioFiles::writeFile(const std::string& path, std::string_view bytes) {
    const fs::path host = hostPath(path);
    std::error_code error;
    if (fs::is_directory(host, error)) return false;
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

bool ScenarioFiles::replaceFile(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(hostPath(from), hostPath(to), error);
    return !error;
}

bool ScenarioFiles::removeFile(const std::string& path) {
    const fs::path host = hostPath(path);
    std::error_code error;
    return !fs::is_directory(host, error) && fs::remove(host, error);
}

std::string ScenarioFiles::ansiToUtf8(std::string_view ansi) const {
    return text::cp1252ToUtf8(ansi);
}

bool ScenarioFiles::utf8ToAnsi(std::string_view utf8, std::string& ansi) const {
    return text::utf8ToCp1252(utf8, ansi);
}

}  // namespace morvane::uiscript
