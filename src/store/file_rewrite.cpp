#include "store/file_rewrite.h"

#include <cstdio>
#include <random>
#include <thread>

#include "store/text.h"

namespace morvane {

namespace {

constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr size_t kTokenDigits = 8;
constexpr auto kBlockedFor = std::chrono::milliseconds(1000);
constexpr auto kRetryAfter = std::chrono::milliseconds(50);

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// Folder and name of a Windows path.
std::pair<std::string, std::string> split(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return {".", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

// A name of this writer's own: no two writers, even of two processes, pick the same one.
std::string temporaryName(const std::string& file) {
    thread_local std::mt19937 random(
        std::random_device{}() ^
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    char token[kTokenDigits + 1];
    std::snprintf(token, sizeof token, "%08x", static_cast<unsigned>(random()));
    return file + "." + token + std::string(kTemporaryEnd);
}

}  // namespace

bool isRewriteTemporary(std::string_view name, std::string_view file) {
    const size_t size = file.size() + 1 + kTokenDigits + kTemporaryEnd.size();
    if (name.size() != size || name[file.size()] != '.' ||
        !text::equalsNoCase(name.substr(0, file.size()), file) ||
        !text::equalsNoCase(name.substr(size - kTemporaryEnd.size()), kTemporaryEnd)) {
        return false;
    }
    for (char c : name.substr(file.size() + 1, kTokenDigits)) {
        if (!isHexDigit(c)) return false;
    }
    return true;
}

FileRewrite::FileRewrite(FilePlatform& files, std::string path, std::string target,
                         std::unique_ptr<FilePlatform::Lock> lock)
    : files_(&files), path_(std::move(path)), target_(std::move(target)), lock_(std::move(lock)) {}

std::optional<FileRewrite> FileRewrite::begin(FilePlatform& files, const std::string& path,
                                              std::chrono::milliseconds wait) {
    // The lock of the file itself, so that every path to it takes the same lock.
    std::string target = files.resolveLinks(path);
    auto lock = files.lockFile(target, wait);
    if (!lock) return std::nullopt;
    return FileRewrite(files, path, std::move(target), std::move(lock));
}

FilePlatform::ReadResult FileRewrite::read(std::string& bytes) const {
    return files_->readFile(path_, bytes);
}

void FileRewrite::removeLeftovers() const {
    const auto [folder, name] = split(target_);
    for (const std::string& entry : files_->folderEntries(folder)) {
        if (isRewriteTemporary(entry, name)) files_->removeFile(folder + "\\" + entry);
    }
}

bool FileRewrite::replace(std::string_view bytes) {
    // Whatever the platform's rename would do with it, a read-only file stays as it is.
    if (files_->isReadOnly(target_)) return false;
    removeLeftovers();
    const std::string temporary = temporaryName(target_);
    if (!files_->writeFile(temporary, bytes)) {
        files_->removeFile(temporary);
        return false;
    }
    const auto giveUp = std::chrono::steady_clock::now() + kBlockedFor;
    for (;;) {
        const auto result = files_->replaceFile(temporary, target_);
        if (result == FilePlatform::ReplaceResult::Done) return true;
        if (result == FilePlatform::ReplaceResult::Failed ||
            std::chrono::steady_clock::now() >= giveUp) {
            files_->removeFile(temporary);
            return false;
        }
        std::this_thread::sleep_for(kRetryAfter);
    }
}

}  // namespace morvane
