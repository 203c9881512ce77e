#pragma once

#include <optional>
#include <string>

#include "store/file_platform.h"

namespace morvane::ui {

// The message kinds of the program's own dialogs.
enum class MessageKind { Error = 1, Information = 2, Warning = 3, Confirmation = 4 };

inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Everything the window needs from the system besides drawing: modal dialogs, the shell, the
// user's locale, and (inherited) files and the ANSI and OEM code pages. Every dialog is modal and
// returns when the user has closed it.
class Platform : public FilePlatform {
  public:
    // A message box of that kind: caption "Error", "Information", "Warning" or "Confirm", the
    // kind's icon, OK (kind 4: Yes and No). Which button closed it is not reported.
    virtual void showMessage(MessageKind kind, const std::string& text) = 0;
    // The Yes/No question (caption "Confirm"): kAnswerYes or kAnswerNo.
    virtual int askYesNo(const std::string& text) = 0;
    // The default error dialog for an error that no handler caught: error icon, OK, the text.
    virtual void showFailure(const std::string& text) = 0;
    // The one shared file-open dialog with this title; it starts from the path chosen last by
    // any picker. The chosen file's full path, or nothing when cancelled.
    virtual std::optional<std::string> pickFile(const std::string& title) = 0;
    // A folder selection dialog with this caption, opening in `start`.
    virtual std::optional<std::string> pickFolder(const std::string& caption,
                                                  const std::string& start) = 0;
    // Asks the shell to "open" the file; the result is not examined.
    virtual void shellOpen(const std::string& path) = 0;
    // The user's locale: decimal and thousands separators (UTF-8, usually one character).
    virtual std::string decimalSeparator() const = 0;
    virtual std::string thousandsSeparator() const = 0;
};

}  // namespace morvane::ui

namespace morvane::ui {

// A Platform whose file access and code page are those of another FilePlatform; the dialogs
// are left to the subclass.
class PlatformOnFiles : public Platform {
  public:
    explicit PlatformOnFiles(FilePlatform& files) : files_(files) {}

    std::string executablePath() const override { return files_.executablePath(); }
    ReadResult readFile(const std::string& path, std::string& bytes) const override {
        return files_.readFile(path, bytes);
    }
    bool writeFile(const std::string& path, std::string_view bytes) override {
        return files_.writeFile(path, bytes);
    }
    ReplaceResult replaceFile(const std::string& from, const std::string& to) override {
        return files_.replaceFile(from, to);
    }
    bool removeFile(const std::string& path) override { return files_.removeFile(path); }
    std::string resolveLinks(const std::string& path) const override {
        return files_.resolveLinks(path);
    }
    bool isReadOnly(const std::string& path) const override { return files_.isReadOnly(path); }
    std::vector<std::string> folderEntries(const std::string& folder) const override {
        return files_.folderEntries(folder);
    }
    std::unique_ptr<Lock> lockFile(const std::string& path,
                                   std::chrono::milliseconds wait) override {
        return files_.lockFile(path, wait);
    }
    std::string ansiToUtf8(std::string_view ansi) const override { return files_.ansiToUtf8(ansi); }
    bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const override {
        return files_.utf8ToAnsi(utf8, ansi);
    }
    bool ansiIsSingleByte() const override { return files_.ansiIsSingleByte(); }
    std::string oemToUtf8(std::string_view oem) const override { return files_.oemToUtf8(oem); }
    bool utf8ToOem(std::string_view utf8, std::string& oem) const override {
        return files_.utf8ToOem(utf8, oem);
    }

  protected:
    FilePlatform& files_;
};

}  // namespace morvane::ui
