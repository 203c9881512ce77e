#pragma once

#include <string>

#include "store/file_platform.h"

namespace morvane {

// File access with the wide-character Win32 API, and the system's ANSI and OEM code pages
// (CP_ACP, CP_OEMCP).
class Win32Files : public FilePlatform {
  public:
    std::string executablePath() const override;
    ReadResult readFile(const std::string& path, std::string& bytes) const override;
    bool writeFile(const std::string& path, std::string_view bytes) override;
    ReplaceResult replaceFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;
    std::string resolveLinks(const std::string& path) const override;
    bool isReadOnly(const std::string& path) const override;
    std::vector<std::string> folderEntries(const std::string& folder) const override;
    std::unique_ptr<Lock> lockFile(const std::string& path,
                                   std::chrono::milliseconds wait) override;
    std::string ansiToUtf8(std::string_view ansi) const override;
    bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const override;
    bool ansiIsSingleByte() const override;
    std::string oemToUtf8(std::string_view oem) const override;
    bool utf8ToOem(std::string_view utf8, std::string& oem) const override;
};

// UTF-8 <-> UTF-16 at the Win32 edge.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

}  // namespace morvane
