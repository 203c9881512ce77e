#pragma once

#include <filesystem>
#include <string>

#include "store/file_platform.h"

namespace morvane {

// File access for the portable build: Windows paths ("C:\Launcher\x.cmd") live below a host
// folder ("<root>/C/Launcher/x.cmd"); the ANSI code page is Windows-1252, the OEM one 437.
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
    bool replaceFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;
    std::string ansiToUtf8(std::string_view ansi) const override;
    bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const override;
    bool ansiIsSingleByte() const override { return true; }
    std::string oemToUtf8(std::string_view oem) const override;
    bool utf8ToOem(std::string_view utf8, std::string& oem) const override;

  private:
    std::filesystem::path root_;
    std::string executable_;
};

}  // namespace morvane
