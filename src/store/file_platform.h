#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// What the settings store needs from the operating system: the executable's path, whole-file
// access by Windows path, a lock shared by the program's processes, and the ANSI and OEM code
// pages. Paths are Windows paths in UTF-8.
class FilePlatform {
  public:
    enum class ReadResult { Ok, Absent, Unreadable };
    enum class ReplaceResult { Done, Busy, Failed };

    // Held while one process reads, changes and replaces a file; released when destroyed, and
    // by the system when the process ends.
    class Lock {
      public:
        virtual ~Lock() = default;
    };

    virtual ~FilePlatform() = default;

    // Full path of the running executable, e.g. "C:\Launcher\morvane.exe".
    virtual std::string executablePath() const = 0;

    // Reads the whole file into `bytes`. Absent: no such file (or folder). Unreadable: the file
    // exists, or its existence cannot be determined, but it cannot be read (locked, no access, a
    // folder, an I/O error).
    virtual ReadResult readFile(const std::string& path, std::string& bytes) const = 0;

    // Creates or truncates the file and writes `bytes`, flushed to disk. False on any failure;
    // a partly written file may then remain and is the caller's to remove.
    virtual bool writeFile(const std::string& path, std::string_view bytes) = 0;

    // Puts `from` in the place of `to`, atomically, both in the same folder. An existing `to`
    // hands its attributes (hidden, system), permissions and creation time on to the new file.
    // Busy: another program keeps `to` from being replaced for the moment (an open handle that
    // does not share deletion), worth another try; Failed: anything else. Nothing changed unless
    // Done.
    virtual ReplaceResult replaceFile(const std::string& from, const std::string& to) = 0;

    // Deletes a file. False when it could not be deleted.
    virtual bool removeFile(const std::string& path) = 0;

    // The file that writing `path` has to replace: the final target when `path` is a symbolic
    // link (or lies in a linked folder), otherwise `path` itself, also when there is no file.
    virtual std::string resolveLinks(const std::string& path) const = 0;

    // True when the file exists and is read-only (the read-only attribute; where files have
    // permissions instead, no write permission for anyone).
    virtual bool isReadOnly(const std::string& path) const = 0;

    // The names of the entries of a folder; empty when it cannot be listed.
    virtual std::vector<std::string> folderEntries(const std::string& folder) const = 0;

    // The lock of that file among the program's processes, derived from its full path and
    // leaving nothing on disk; waits at most `wait` for another holder. nullptr when it was not
    // had in time or cannot be made.
    virtual std::unique_ptr<Lock> lockFile(const std::string& path,
                                           std::chrono::milliseconds wait) = 0;

    // The ANSI code page: decoding never fails; encoding fails when a character has no
    // representation in the code page.
    virtual std::string ansiToUtf8(std::string_view ansi) const = 0;
    virtual bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const = 0;
    // True when every character is one byte. In the multi-byte code pages (932, 936, 949, 950,
    // 65001) the bytes of "=;\r\n\t \0" never occur inside a character, while "[" and "]" can
    // be the second byte of one.
    virtual bool ansiIsSingleByte() const = 0;

    // The OEM code page, the one cmd.exe reads batch files in; as for the ANSI one.
    virtual std::string oemToUtf8(std::string_view oem) const = 0;
    virtual bool utf8ToOem(std::string_view utf8, std::string& oem) const = 0;
};

}  // namespace morvane
