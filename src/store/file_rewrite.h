#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "store/file_platform.h"

namespace morvane {

// One rewrite of a file by this program: read it, change it, replace it atomically. While it
// lasts it holds the file's lock among the program's processes, so that no other rewrite reads
// between this one's read and its replace.
//
// The replace writes a temporary file "<name>.<8 hex digits>.tmp" beside the file (beside the
// link's target for a symbolic link), flushed to disk, and puts it in the file's place; the file
// keeps its attributes, permissions and creation time, a link stays a link. A read-only file is
// never replaced. A replace that another program blocks for the moment is tried again for about
// a second. The temporary file is removed on every failure; one of that pattern left beside the
// file by a writer that crashed is removed by the next rewrite, since no other rewrite can be
// under way.
class FileRewrite {
  public:
    // Waits at most `wait` for the lock; nullopt when it was not had in time.
    static std::optional<FileRewrite> begin(FilePlatform& files, const std::string& path,
                                            std::chrono::milliseconds wait);

    FilePlatform::ReadResult read(std::string& bytes) const;

    // Puts `bytes` in the file's place, or creates it. False when the file is read-only or
    // cannot be replaced (folder not writable, disk full, blocked for long): the file is then
    // exactly as it was and no temporary file is left.
    bool replace(std::string_view bytes);

  private:
    FileRewrite(FilePlatform& files, std::string path, std::string target,
                std::unique_ptr<FilePlatform::Lock> lock);
    void removeLeftovers() const;

    FilePlatform* files_;
    std::string path_;    // as the caller named it
    std::string target_;  // the file itself, links followed
    std::unique_ptr<FilePlatform::Lock> lock_;
};

// Whether a name is one of the temporary files of a rewrite of the file named `file`.
bool isRewriteTemporary(std::string_view name, std::string_view file);

}  // namespace morvane
