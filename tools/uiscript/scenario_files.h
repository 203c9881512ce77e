#pragma once

#include <filesystem>
#include <string>

#include "store/sandbox_files.h"

namespace morvane::uiscript {

// File access for the headless backend. The executable's folder, a Windows path such as
// "C:\Morvane", is the scenario's folder on this machine; every other drive path lives below a
// sandbox folder ("D:\x" is <drives>/D/x), and a path without a drive is relative to the
// executable's folder. Names match existing ones without regard to letter case, as on Windows.
// The ANSI code page is Windows-1252.
class ScenarioFiles : public SandboxFiles {
  public:
    ScenarioFiles(std::string folder, std::filesystem::path folderHost,
                  std::filesystem::path drives);

    std::filesystem::path hostPath(const std::string& windowsPath) const override;
    // Creates the folders leading to a file (the scenario's own writes only).
    bool makeParentFolders(const std::string& windowsPath);

  private:
    std::string folder_;
    std::filesystem::path folderHost_;
    std::filesystem::path drives_;
};

}  // namespace morvane::uiscript
