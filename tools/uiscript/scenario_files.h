#pragma once

#include <filesystem>
#include <string>

#include "store/file_platform.h"

namespace morvane::uiscript {

// File access for the headless backend. The executable's folder, a Windows path such as
// "C:\Morvane", is the scenario's folder on this machine; every other drive path lives below a
// sandbox folder ("D:\x" is <drives>/D/x), and a path without a drive is relative to the
// executable's folder. Names match existing ones without regard to letter case, as on Windows.
// The ANSI code page is Windows-1252.
class ScenarioFiles : public FilePlatform {
  public:
    ScenarioFiles(std::string folder, std::filesystem::path folderHost,
                  std::filesystem::path drives);

    std::filesystem::path hostPath(const std::string& windowsPath) const;
    // Creates the folders leading to a file (the scenario's own writes only).
    bool makeParentFolders(const std::string& windowsPath);

    std::string executablePath() const override { return folder_ + "\\morvane.exe"; }
    ReadResult readFile(const std::string& path, std::string& bytes) const override;
    bool writeFile(const std::string& path, std::string_view bytes) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;
    std::string ansiToUtf8(std::string_view ansi) const override;
    bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const override;
    bool ansiIsSingleByte() const override { return true; }

  private:
    std::string folder_;
    std::filesystem::path folderHost_;
    std::filesystem::path drives_;
};

}  // namespace morvane::uiscript
