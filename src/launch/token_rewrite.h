#pragma once

#include <string>
#include <vector>

#include "store/file_platform.h"
#include "store/text_file.h"

namespace morvane::launch {

// One of the token configuration's ten settings: the search string that finds its line in the
// token file, and the value that line gets.
struct TokenRule {
    std::string search;
    std::string value;
};

// The token file's lines after the rewrite. Only a candidate line (two characters or more, no
// ";" anywhere) can change. Its key part (up to and including the first "=", or empty without
// one) is compared with every rule's search string in turn, exactly; on equality it becomes
// search string + value, and the next rule compares the text as it now stands. A line that
// matched any rule is replaced by that text; every other line stays as it is. An empty search
// string matches nothing, so a line without "=" is never replaced by a bare value.
std::vector<std::string> rewriteTokenLines(const std::vector<std::string>& lines,
                                           const std::vector<TokenRule>& rules);

// A token file as read: its lines, and the encoding it is written back in.
struct TokenFile {
    FileEncoding encoding = FileEncoding::Ansi;
    std::vector<std::string> lines;
};

// Reads the token file at `path` (encodings and line ends as decodeTextFile and splitLines take
// them). Throws std::runtime_error naming the file when it cannot be read, and when it could not
// be written back without loss: a NUL byte without a byte-order mark (a UTF-16 file without a
// mark, or no text at all), or bytes that are not text in the file's encoding.
TokenFile readTokenFile(const FilePlatform& files, const std::string& path);

// Writes the lines to `path` in `encoding` (with its byte-order mark), CR LF between lines and
// none after the last, replacing the file at once so that a failure leaves it as it was.
// Throws std::runtime_error naming the file when that fails or when `encoding` is the ANSI code
// page and it lacks a character of the lines.
void writeTokenFile(FilePlatform& files, const std::string& path,
                    const std::vector<std::string>& lines, FileEncoding encoding);

}  // namespace morvane::launch
