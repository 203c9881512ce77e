#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/platform.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

// The Platform of the Windows program: message boxes, the common file and folder dialogs, the
// shell, the user's locale, and files through Win32Files.
// Holds the system's files ahead of the Platform that uses them (base-from-member).
struct SystemFiles {
    Win32Files systemFiles_;
};

class Win32Platform : private SystemFiles, public ui::PlatformOnFiles {
  public:
    Win32Platform();

    // The window that owns the dialogs (none until the main window exists).
    void setOwner(HWND owner) { owner_ = owner; }
    HWND owner() const { return owner_; }

    void showMessage(ui::MessageKind kind, const std::string& text) override;
    int askYesNo(const std::string& text) override;
    void showFailure(const std::string& text) override;
    // GetOpenFileNameW with no filter and no starting folder; its one path buffer lives here,
    // so every picker opens where the last one left off.
    std::optional<std::string> pickFile(const std::string& title) override;
    // SHBrowseForFolderW opened on `start`.
    std::optional<std::string> pickFolder(const std::string& caption,
                                          const std::string& start) override;
    void shellOpen(const std::string& path) override;
    std::string decimalSeparator() const override;
    std::string thousandsSeparator() const override;

  private:
    HWND owner_ = nullptr;
    std::vector<wchar_t> fileName_;
};

}  // namespace morvane::win32
