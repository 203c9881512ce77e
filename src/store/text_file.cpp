#include "store/text_file.h"

#include "store/text.h"

namespace morvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

}  // namespace

DecodedText decodeTextFile(std::string_view bytes, const FilePlatform& codePage) {
    if (bytes.starts_with(kUtf8Mark)) {
        std::string text;
        const std::string_view body = bytes.substr(kUtf8Mark.size());
        text.reserve(body.size());
        for (size_t pos = 0; pos < body.size();)
            text::appendUtf8(text, text::decodeUtf8(body, pos));
        return {FileEncoding::Utf8, std::move(text)};
    }
    if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        const bool bigEndian = bytes.starts_with(kUtf16BeMark);
        return {bigEndian ? FileEncoding::Utf16Be : FileEncoding::Utf16Le,
                text::utf16ToUtf8(text::utf16Units(bytes.substr(2), bigEndian))};
    }
    return {FileEncoding::Ansi, codePage.ansiToUtf8(bytes)};
}

bool encodeTextFile(std::string_view text, FileEncoding encoding, const FilePlatform& codePage,
                    std::string& bytes) {
    switch (encoding) {
        case FileEncoding::Ansi:
            return codePage.utf8ToAnsi(text, bytes);
        case FileEncoding::Utf8:
            bytes = std::string(kUtf8Mark) + std::string(text);
            return true;
        case FileEncoding::Utf16Le:
        case FileEncoding::Utf16Be: {
            const bool bigEndian = encoding == FileEncoding::Utf16Be;
            bytes = std::string(bigEndian ? kUtf16BeMark : kUtf16LeMark) +
                    text::utf16Bytes(text::utf8ToUtf16(text), bigEndian);
            return true;
        }
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
