#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_platform.h"
#include "store/text_file.h"

namespace morvane {

// One settings file in memory, in the profile-file dialect:
// - "[name]" starts a section (blanks and tabs may precede it); the name runs to the line's last
//   "]" and is trimmed of blanks and tabs. A line without "]" is no header.
// - "key=value" is an entry: the key is the text before the first "=", trimmed of blanks and
//   tabs; lines starting with ";" and lines without "=" are not entries.
// - Section names and keys match without regard to letter case; the first matching section and
//   the first matching key win.
// - A line's text ends at its first NUL character.
// Lines end at CR LF, LF or a lone CR. An ANSI file is split into lines as bytes, in every code
// page, and names are decoded line by line for comparison.
// Edits change only the bytes of the entry they touch; every other byte of the file is kept.
class ProfileText {
  public:
    // Decodes the file's bytes (a missing file is empty bytes). The bytes may be used in place,
    // so they and the platform, which supplies the ANSI code page, must outlive this object.
    ProfileText(std::string_view fileBytes, const FilePlatform& codePage);

    // The value of the key without surrounding white space and without one enclosing pair of
    // double or single quotes; nullopt when the section or the key is absent.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // One "key=value" per entry of the section, in file order, with values as read() gives
    // them. Empty for an absent section.
    std::vector<std::string> list(std::string_view section) const;

    // Sets the key to exactly `value`: an existing key is rewritten in place with its stored
    // spelling; a new key goes after the last entry of its section; a new section with its key
    // is added at the end. New names are written trimmed of blanks and tabs. The caller
    // guarantees that no text contains CR, LF or NUL.
    void write(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes in its encoding. An ANSI file holding a character that the code page
    // cannot represent comes out as UTF-16LE with a byte-order mark instead.
    std::string bytes();

    FileEncoding encoding() const { return encoding_; }

  private:
    struct Line {
        size_t begin;  // first byte of the line
        size_t end;    // end of the line's text (before its line break or first NUL)
        size_t next;   // start of the following line
    };
    struct Entry {
        std::string_view key;    // trimmed, in the buffer's encoding
        std::string_view value;  // untrimmed, in the buffer's encoding
    };

    void setView(std::string_view text);
    Line lineAt(size_t start) const;
    // The trimmed name between "[" and the line's last "]", found in the bytes.
    static std::optional<std::string_view> headerName(std::string_view line);
    bool isHeader(std::string_view line) const;
    bool headerMatches(std::string_view line, std::string_view wanted) const;
    static std::optional<Entry> entryOf(std::string_view line);
    // Start of the body of the first section of that name.
    std::optional<size_t> findSection(std::string_view name) const;
    bool nameMatches(std::string_view stored, std::string_view wanted) const;
    std::string decoded(std::string_view raw) const;
    std::string value(std::string_view raw) const;
    bool encode(std::string_view utf8, std::string& out) const;
    void switchToUnicode();

    const FilePlatform& codePage_;
    bool multiByte_;  // the ANSI code page has characters of more than one byte
    FileEncoding encoding_ = FileEncoding::Ansi;
    bool ansiBytes_ = false;  // the text is the file's own ANSI bytes, else UTF-8
    std::string_view view_;   // the text: the caller's bytes until edited, else text_
    // The first LF at or after lfFrom_ is at lfAt_ (the size when there is none).
    mutable size_t lfFrom_ = std::string_view::npos;
    mutable size_t lfAt_ = 0;
    std::string text_;
    std::string tail_;  // an odd last byte of a UTF-16 file, kept as it was
};

}  // namespace morvane
