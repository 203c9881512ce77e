#include "launch/token_rewrite.h"

#include <stdexcept>

#include "store/file_rewrite.h"
#include "store/settings_store.h"
#include "store/text.h"
#include "store/text_file.h"

namespace morvane::launch {

namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

const char* encodingName(FileEncoding encoding) {
    switch (encoding) {
        case FileEncoding::Ansi:
            return "ANSI";
        case FileEncoding::Utf8:
            return "UTF-8";
        case FileEncoding::Utf16Le:
        case FileEncoding::Utf16Be:
            return "UTF-16";
    }
    return "";
}

}  // namespace

std::vector<std::string> rewriteTokenLines(const std::vector<std::string>& lines,
                                           const std::vector<TokenRule>& rules) {
    std::vector<std::string> result;
    result.reserve(lines.size());
    for (const std::string& line : lines) {
        if (line.size() < 2 || line.find(';') != std::string::npos) {
            result.push_back(line);
            continue;
        }
        const size_t equals = line.find('=');
        std::string working = equals == std::string::npos ? "" : line.substr(0, equals + 1);
        bool matched = false;
        for (const TokenRule& rule : rules) {
            if (rule.search.empty() || rule.search != working) continue;
            working = rule.search + rule.value;
            matched = true;
        }
        result.push_back(matched ? std::move(working) : line);
    }
    return result;
}

TokenFile readTokenFile(const FilePlatform& files, const std::string& path) {
    if (path.empty()) {
        throw std::runtime_error(
            "Cannot open the token file: the run page's \"Token File Location\" is empty.");
    }
    std::string bytes;
    switch (files.readFile(path, bytes)) {
        case FilePlatform::ReadResult::Ok:
            break;
        case FilePlatform::ReadResult::Absent:
            throw std::runtime_error("Cannot open the token file " + quoted(path) +
                                     ": there is no such file.");
        case FilePlatform::ReadResult::Unreadable:
            throw std::runtime_error("Cannot open the token file " + quoted(path) +
                                     ": it cannot be read.");
    }
    DecodedText decoded = decodeTextFile(bytes, files);
    if (decoded.encoding == FileEncoding::Ansi && bytes.find('\0') != std::string::npos) {
        throw std::runtime_error(
            "The token file " + quoted(path) +
            " holds a NUL byte and has no byte-order mark, so it is no ANSI text file (perhaps "
            "UTF-16 without a mark); it was not rewritten.");
    }
    std::string again;
    if (!encodeTextFile(decoded.text, decoded.encoding, files, again) || again != bytes) {
        throw std::runtime_error("The token file " + quoted(path) + " is not valid " +
                                 encodingName(decoded.encoding) + " text; it was not rewritten.");
    }
    return {decoded.encoding, splitLines(decoded.text)};
}

void writeTokenFile(FilePlatform& files, const std::string& path,
                    const std::vector<std::string>& lines, FileEncoding encoding) {
    if (path.empty()) {
        throw std::runtime_error(
            "Cannot write the token file: its token configuration stores no \"Token File "
            "Location\".");
    }
    const std::string text = joinLines(lines, false);
    std::string bytes;
    if (!encodeTextFile(text, encoding, files, bytes)) {
        std::string lacking;
        for (size_t pos = 0; pos < text.size() && lacking.empty();) {
            const size_t start = pos;
            text::decodeUtf8(text, pos);
            const std::string one = text.substr(start, pos - start);
            if (!files.utf8ToAnsi(one, bytes)) lacking = one;
        }
        throw std::runtime_error("The token file " + quoted(path) +
                                 " is in the ANSI code page, which has no \"" + lacking +
                                 "\" for its new text; it was left as it was.");
    }
    // The settings file's way of replacing: a temporary file beside it, moved into place, so
    // that a failure never leaves the token file cut short.
    auto rewrite = FileRewrite::begin(files, path, kSettingsLockWait);
    if (!rewrite || !rewrite->replace(bytes)) {
        throw std::runtime_error("Unable to write to " + path);
    }
}

}  // namespace morvane::launch
