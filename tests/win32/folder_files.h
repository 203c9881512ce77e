#pragma once

#include <string>

#include "win32/win32_files.h"

namespace morvane::testing {

// The real Win32 file access, with the executable standing in a folder of the test's choice.
class FolderFiles : public Win32Files {
  public:
    explicit FolderFiles(std::string folder) : folder_(std::move(folder)) {}
    std::string executablePath() const override { return folder_ + "\\morvane.exe"; }

  private:
    std::string folder_;
};

}  // namespace morvane::testing
