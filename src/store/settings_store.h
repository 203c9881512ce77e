#pragma once

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_platform.h"

namespace morvane {

// An error whose text is meant for the user: a refused settings write, a text that the settings
// file cannot hold.
class StoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kConfigurationTitles = "Configuration Titles";

// The folder of an executable path: the path without its last element, without a trailing
// separator except for a drive's root ("C:\Launcher\x.exe" -> "C:\Launcher", "C:\x.exe" -> "C:\").
std::string folderOf(std::string_view path);

// "/*" + value + "*/".
std::string wrapValue(std::string_view value);
// Removes the first "/*", then the first "*/" of what is left; nothing else. "/*a*/b*/" gives
// "ab*/", "x/*y" gives "xy", "abc" gives "abc".
std::string unwrapValue(std::string_view stored);

// Section names are plain concatenations: nothing escaped, nothing in between.
std::string poolListSection(std::string_view configuration);   // C + " Pools"
std::string tokenListSection(std::string_view configuration);  // C + " Tokens"

// The title of a title-list line: everything after its first "=".
std::string titleOfListing(std::string_view line);
// "ID" + n.
std::string titleEntryKey(int number);
// Position (from 1) of the first listed title equal to `title`, letter case included.
std::optional<int> findTitle(const std::vector<std::string>& titles, std::string_view title);

// False for a key that would not read back as itself: one holding "=", or beginning (after
// blanks and tabs) with ";" or "[".
bool isStorableKey(std::string_view key);

// How long a write waits for another process of the program writing the same file.
inline constexpr std::chrono::milliseconds kSettingsLockWait{5000};

// The settings file "Morvane.ini" beside the executable. Every call opens the file by path,
// does one thing and closes it again, so every read sees every earlier write. Reads never fail:
// a file that is missing or cannot be read reads as empty. Writes replace the file atomically
// (see FileRewrite), one at a time among the program's processes.
class SettingsStore {
  public:
    explicit SettingsStore(FilePlatform& platform,
                           std::chrono::milliseconds lockWait = kSettingsLockWait)
        : platform_(platform), lockWait_(lockWait) {}

    // The executable's folder + "\Morvane.ini", built afresh on every call.
    std::string path() const;

    // The value of the key (trimmed, one pair of enclosing quotes removed), or `fallback` when
    // the file, the section or the key is absent.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

    // "key=value" per entry of the section in file order; empty for an absent section or file.
    std::vector<std::string> list(std::string_view section) const;

    // The titles of a title list in file order.
    std::vector<std::string> titles(std::string_view section) const;

    // Stores `value` as it is. Throws StoreError "Unable to write to <path>" when the file
    // cannot be read, written or replaced, is read-only, or another process of the program
    // keeps writing it for longer than the lock wait (the old file then stays exactly as it
    // was), and a StoreError naming the text when a section, key or value holds CR, LF or NUL,
    // or the key is not storable (nothing is written).
    void write(std::string_view section, std::string_view key, std::string_view value);

    // The wrapped forms: write stores wrapValue(value); read unwraps what read() returns.
    std::string readWrapped(std::string_view section, std::string_view key,
                            std::string_view fallback) const;
    void writeWrapped(std::string_view section, std::string_view key, std::string_view value);

  private:
    FilePlatform& platform_;
    std::chrono::milliseconds lockWait_;
};

}  // namespace morvane
