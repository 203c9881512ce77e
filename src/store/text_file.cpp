#include "store/text_file.h"

#include "store/text.h"

namespace morvane {

FileEncoding markedEncoding(std::string_view bytes) {
    for (const FileEncoding encoding :
         {FileEncoding::Utf8, FileEncoding::Utf16Le, FileEncoding::Utf16Be}) {
        if (bytes.starts_with(byteOrderMark(encoding))) return encoding;
    }
    return FileEncoding::Ansi;
}

std::string_view byteOrderMark(FileEncoding encoding) {
    switch (encoding) {
        case FileEncoding::Ansi:
            return {};
        case FileEncoding::Utf8:
            return "\xEF\xBB\xBF";
        case FileEncoding::Utf16Le:
            return "\xFF\xFE";
        case FileEncoding::Utf16Be:
            return "\xFE\xFF";
    }
    return {};
}

DecodedText decodeTextFile(std::string_view bytes, const FilePlatform& codePage) {
    const FileEncoding encoding = markedEncoding(bytes);
    const std::string_view body = bytes.substr(byteOrderMark(encoding).size());
    switch (encoding) {
        case FileEncoding::Ansi:
            return {encoding, codePage.ansiToUtf8(bytes)};
        case FileEncoding::Utf8: {
            std::string text;
            text.reserve(body.size());
            for (size_t pos = 0; pos < body.size();)
                text::appendUtf8(text, text::decodeUtf8(body, pos));
            return {encoding, std::move(text)};
        }
        case FileEncoding::Utf16Le:
        case FileEncoding::Utf16Be:
            return {encoding,
                    text::utf16ToUtf8(text::utf16Units(body, encoding == FileEncoding::Utf16Be))};
    }
    return {encoding, {}};
}

bool encodeTextFile(std::string_view text, FileEncoding encoding, const FilePlatform& codePage,
                    std::string& bytes) {
    switch (encoding) {
        case FileEncoding::Ansi:
            return codePage.utf8ToAnsi(text, bytes);
        case FileEncoding::Utf8:
            bytes = std::string(byteOrderMark(encoding)) + std::string(text);
            return true;
        case FileEncoding::Utf16Le:
        case FileEncoding::Utf16Be:
            bytes = std::string(byteOrderMark(encoding)) +
                    text::utf16Bytes(text::utf8ToUtf16(text), encoding == FileEncoding::Utf16Be);
            return true;
    }
    return false;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, bool finalBreak) {
    size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (finalBreak || i + 1 < lines.size()) text += "\r\n";
    }
    return text;
}

}  // namespace morvane
