#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "store/file_platform.h"

namespace morvane {

// File access for the portable build: Windows paths ("C:\Launcher\x.cmd") live below a host
// folder ("<root>/C/Launcher/x.cmd"), and the ANSI code page is Windows-1252, the OEM one 437. A file
// whose owner, group and others all lack write permission is read-only. The lock of a file is an
// flock on its folder (in the Windows build, where the sandbox serves tests only, a lock of the
// process's own).
class SandboxFiles : public FilePlatform {
  public:
    // `root` is the host folder standing for the machine's drives; `executable` the Windows
    // path the program runs from.
    SandboxFiles(std::filesystem::path root, std::string executable);

    // The host path of a Windows path.
    virtual std::filesystem::path hostPath(const std::string& windowsPath) const;

    std::string executablePath() const override { return executable_; }
    ReadResult readFile(const std::string& path, std::string& bytes) const override;
    bool writeFile(const std::string& path, std::string_view bytes) override;
    ReplaceResult replaceFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;
    // A link whose target lies outside the root has no Windows path: the path itself is given.
    std::string resolveLinks(const std::string& path) const override;
    bool isReadOnly(const std::string& path) const override;
    std::vector<std::string> folderEntries(const std::string& folder) const override;
    std::unique_ptr<Lock> lockFile(const std::string& path,
                                   std::chrono::milliseconds wait) override;
    std::string ansiToUtf8(std::string_view ansi) const override;
    bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const override;
    bool ansiIsSingleByte() const override { return true; }
    std::string oemToUtf8(std::string_view oem) const override;
    bool utf8ToOem(std::string_view utf8, std::string& oem) const override;

  private:
    // The Windows path of a host path below the root.
    std::optional<std::string> windowsPath(const std::filesystem::path& host) const;

    std::filesystem::path root_;
    std::string executable_;
};

}  // namespace morvane
