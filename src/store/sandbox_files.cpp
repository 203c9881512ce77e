#include "store/sandbox_files.h"

#include <fstream>
#include <system_error>

#include "store/code_page_437.h"
#include "store/text.h"

namespace morvane {

namespace fs = std::filesystem;

SandboxFiles::SandboxFiles(fs::path root, std::string executable)
    : root_(std::move(root)), executable_(std::move(executable)) {}

fs::path SandboxFiles::hostPath(const std::string& windowsPath) const {
    fs::path host = root_;
    std::string element;
    size_t start = 0;
    if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
        host /= std::string(1, windowsPath[0]);
        start = 2;
    }
    for (size_t i = start; i <= windowsPath.size(); ++i) {
        if (i == windowsPath.size() || windowsPath[i] == '\\' || windowsPath[i] == '/') {
            if (!element.empty()) host /= element;
            element.clear();
        } else {
            element += windowsPath[i];
        }
    }
    return host;
}

FilePlatform::ReadResult SandboxFiles::readFile(const std::string& path, std::string& bytes) const {
    const fs::path host = hostPath(path);
    std::error_code error;
    if (!fs::exists(host, error)) return ReadResult::Absent;
    if (fs::is_directory(host, error)) return ReadResult::Unreadable;
    std::ifstream in(host, std::ios::binary | std::ios::ate);
    if (!in) return ReadResult::Unreadable;
    bytes.resize(static_cast<size_t>(in.tellg()));
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return in.bad() ? ReadResult::Unreadable : ReadResult::Ok;
}

bool SandboxFiles::writeFile(const std::string& path, std::string_view bytes) {
    const fs::path host = hostPath(path);
    std::error_code error;
    if (fs::is_directory(host, error)) return false;
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

bool SandboxFiles::replaceFile(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(hostPath(from), hostPath(to), error);
    return !error;
}

// Like DeleteFileW, this never removes a folder.
bool SandboxFiles::removeFile(const std::string& path) {
    const fs::path host = hostPath(path);
    std::error_code error;
    return !fs::is_directory(host, error) && fs::remove(host, error);
}

std::string SandboxFiles::ansiToUtf8(std::string_view ansi) const {
    return text::cp1252ToUtf8(ansi);
}

bool SandboxFiles::utf8ToAnsi(std::string_view utf8, std::string& ansi) const {
    return text::utf8ToCp1252(utf8, ansi);
}

std::string SandboxFiles::oemToUtf8(std::string_view oem) const { return text::cp437ToUtf8(oem); }

bool SandboxFiles::utf8ToOem(std::string_view utf8, std::string& oem) const {
    return text::utf8ToCp437(utf8, oem);
}

}  // namespace morvane
