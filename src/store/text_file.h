#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/file_platform.h"

namespace morvane {

// The encodings of the program's text files; a byte-order mark selects all but Ansi, which is
// the ANSI code page without a mark.
enum class FileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The encoding whose byte-order mark begins `bytes`: EF BB BF UTF-8, FF FE UTF-16LE, FE FF
// UTF-16BE; Ansi without one.
FileEncoding markedEncoding(std::string_view bytes);
// The byte-order mark of an encoding; empty for Ansi.
std::string_view byteOrderMark(FileEncoding encoding);

// A text file's content as UTF-8, with the encoding that its byte-order mark selects.
struct DecodedText {
    FileEncoding encoding = FileEncoding::Ansi;
    std::string text;  // without the mark
};

// The mark (markedEncoding) selects the encoding; without one the bytes are taken in the ANSI
// code page. An odd last byte of a UTF-16 text is dropped; bytes that are not UTF-8
// after a UTF-8 mark become U+FFFD. Nothing else is lost, NUL bytes included.
DecodedText decodeTextFile(std::string_view bytes, const FilePlatform& codePage);

// The file's bytes: the encoding's byte-order mark (none for ANSI), then the text. False when
// the ANSI code page lacks one of its characters.
bool encodeTextFile(std::string_view text, FileEncoding encoding, const FilePlatform& codePage,
                    std::string& bytes);

// The lines of a text: each ends at CR LF, at a lone LF or at a lone CR; a line break at the very
// end gives no empty line after it. "" has no lines.
std::vector<std::string> splitLines(std::string_view text);

// The lines, each followed by CR LF (the last one only when `finalBreak`).
std::string joinLines(const std::vector<std::string>& lines, bool finalBreak);

}  // namespace morvane
