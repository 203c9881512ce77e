#pragma once

#include <string>
#include <string_view>

namespace morvane {

// What the settings store needs from the operating system: the executable's path, whole-file
// access by Windows path, and the ANSI and OEM code pages. Paths are Windows paths in UTF-8.
class FilePlatform {
  public:
    enum class ReadResult { Ok, Absent, Unreadable };

    virtual ~FilePlatform() = default;

    // Full path of the running executable, e.g. "C:\Launcher\morvane.exe".
    virtual std::string executablePath() const = 0;

    // Reads the whole file into `bytes`. Absent: no such file (or folder). Unreadable: the file
    // exists but cannot be opened or read (locked, no access, a folder).
    virtual ReadResult readFile(const std::string& path, std::string& bytes) const = 0;

    // Creates or truncates the file and writes `bytes`, flushed to disk. False on any failure;
    // a partly written file may then remain and is the caller's to remove.
    virtual bool writeFile(const std::string& path, std::string_view bytes) = 0;

    // Renames `from` onto `to`, replacing `to` atomically. False on failure, nothing changed.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;

    // Deletes a file. False when it could not be deleted.
    virtual bool removeFile(const std::string& path) = 0;

    // The ANSI code page: decoding never fails; encoding fails when a character has no
    // representation in the code page.
    virtual std::string ansiToUtf8(std::string_view ansi) const = 0;
    virtual bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const = 0;
    // True when every character is one byte, so the bytes of "[]=;\r\n\t " can be found
    // directly in the file without decoding it first.
    virtual bool ansiIsSingleByte() const = 0;

    // The OEM code page, the one cmd.exe reads batch files in; as for the ANSI one.
    virtual std::string oemToUtf8(std::string_view oem) const = 0;
    virtual bool utf8ToOem(std::string_view utf8, std::string& oem) const = 0;
};

}  // namespace morvane
