#include "store/sandbox_files.h"

#include <fstream>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <condition_variable>
#include <map>
#include <mutex>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "store/code_page_437.h"
#include "store/text.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// Only these mean that there is no such file; any other error leaves it open whether the file
// exists.
bool noSuchFile(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

constexpr fs::perms kAnyWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

#ifdef _WIN32
// Held or not, whichever thread asks: a thread that holds it and asks again waits as another
// process would.
struct ProcessLockState {
    std::mutex mutex;
    std::condition_variable released;
    bool held = false;
};

class ProcessLock : public FilePlatform::Lock {
  public:
    explicit ProcessLock(std::shared_ptr<ProcessLockState> state) : state_(std::move(state)) {}
    ~ProcessLock() override {
        {
            const std::lock_guard<std::mutex> hold(state_->mutex);
            state_->held = false;
        }
        state_->released.notify_one();
    }

  private:
    std::shared_ptr<ProcessLockState> state_;
};
#else
// flock on the folder: the kernel releases it when the holder closes it or dies, it creates
// nothing, and every spelling of the folder's path names the same lock.
class FolderLock : public FilePlatform::Lock {
  public:
    explicit FolderLock(int fd) : fd_(fd) {}
    ~FolderLock() override { ::close(fd_); }

  private:
    int fd_;
};
#endif

}  // namespace

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

std::optional<std::string> SandboxFiles::windowsPath(const fs::path& host) const {
    std::error_code error;
    const fs::path relative = host.lexically_relative(fs::canonical(root_, error));
    if (error || relative.empty() || *relative.begin() == "..") return std::nullopt;
    auto element = relative.begin();
    std::string path = element->string() + ":";
    if (++element == relative.end()) return path + "\\";
    for (; element != relative.end(); ++element) path += "\\" + element->string();
    return path;
}

FilePlatform::ReadResult SandboxFiles::readFile(const std::string& path, std::string& bytes) const {
    const fs::path host = hostPath(path);
    std::error_code error;
    const fs::file_status status = fs::status(host, error);
    if (error) return noSuchFile(error) ? ReadResult::Absent : ReadResult::Unreadable;
    if (fs::is_directory(status)) return ReadResult::Unreadable;
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

FilePlatform::ReplaceResult SandboxFiles::replaceFile(const std::string& from,
                                                      const std::string& to) {
    const fs::path hostFrom = hostPath(from);
    const fs::path hostTo = hostPath(to);
    std::error_code error;
    const fs::file_status target = fs::status(hostTo, error);
    if (!error && fs::exists(target)) {
        fs::permissions(hostFrom, target.permissions(), error);
        if (error) return ReplaceResult::Failed;
#ifndef _WIN32
        struct stat owner;
        if (::stat(hostTo.c_str(), &owner) == 0) {
            // Only a privileged process can hand a file to another owner; others keep theirs.
            [[maybe_unused]] const int ignored =
                ::chown(hostFrom.c_str(), owner.st_uid, owner.st_gid);
        }
#endif
    }
    fs::rename(hostFrom, hostTo, error);
    if (!error) return ReplaceResult::Done;
    return error == std::errc::device_or_resource_busy ? ReplaceResult::Busy
                                                       : ReplaceResult::Failed;
}

// Like DeleteFileW, this never removes a folder.
bool SandboxFiles::removeFile(const std::string& path) {
    const fs::path host = hostPath(path);
    std::error_code error;
    return !fs::is_directory(host, error) && fs::remove(host, error);
}

std::string SandboxFiles::resolveLinks(const std::string& path) const {
    const fs::path host = hostPath(path);
    std::error_code error;
    const fs::path real = fs::canonical(host, error);
    if (error) return path;  // no such file, or a loop
    const fs::path plain = fs::canonical(root_, error) / host.lexically_relative(root_);
    if (error || real == plain) return path;
    return windowsPath(real).value_or(path);
}

bool SandboxFiles::isReadOnly(const std::string& path) const {
    std::error_code error;
    const fs::file_status status = fs::status(hostPath(path), error);
    return !error && fs::is_regular_file(status) &&
           (status.permissions() & kAnyWrite) == fs::perms::none;
}

std::vector<std::string> SandboxFiles::folderEntries(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(hostPath(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    return names;
}

std::unique_ptr<FilePlatform::Lock> SandboxFiles::lockFile(const std::string& path,
                                                           std::chrono::milliseconds wait) {
#ifdef _WIN32
    static std::mutex guard;
    static std::map<fs::path, std::shared_ptr<ProcessLockState>> locks;
    std::shared_ptr<ProcessLockState> state;
    {
        const std::lock_guard<std::mutex> hold(guard);
        auto& slot = locks[hostPath(path).parent_path()];
        if (!slot) slot = std::make_shared<ProcessLockState>();
        state = slot;
    }
    std::unique_lock<std::mutex> hold(state->mutex);
    if (!state->released.wait_for(hold, wait, [&] { return !state->held; })) return nullptr;
    state->held = true;
    return std::make_unique<ProcessLock>(std::move(state));
#else
    const int fd = ::open(hostPath(path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    // The kernel gives no flock with a time limit: ask again every millisecond.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::make_unique<FolderLock>(fd);
#endif
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
