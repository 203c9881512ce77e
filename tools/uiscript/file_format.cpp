#include "tools/uiscript/file_format.h"

#include <stdexcept>

#include "store/text.h"

namespace morvane::uiscript {

namespace {

using Encoding = FileFormat::Encoding;

std::string_view byteOrderMark(Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8Bom:
            return "\xEF\xBB\xBF";
        case Encoding::Utf16Le:
            return "\xFF\xFE";
        case Encoding::Utf16Be:
            return "\xFE\xFF";
        default:
            return "";
    }
}

std::string encodeText(std::string_view utf8, Encoding encoding, const FilePlatform& files) {
    switch (encoding) {
        case Encoding::Ansi:
        case Encoding::Oem: {
            const bool oem = encoding == Encoding::Oem;
            std::string bytes;
            if (!(oem ? files.utf8ToOem(utf8, bytes) : files.utf8ToAnsi(utf8, bytes))) {
                throw std::invalid_argument(showText(utf8) + " has a character the " +
                                            (oem ? "OEM" : "ANSI") + " code page lacks");
            }
            return bytes;
        }
        case Encoding::Utf8:
        case Encoding::Utf8Bom:
            return std::string(utf8);
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            return text::utf16Bytes(text::utf8ToUtf16(utf8), encoding == Encoding::Utf16Be);
    }
    return {};
}

std::string decodeText(std::string_view bytes, Encoding encoding, const FilePlatform& files) {
    switch (encoding) {
        case Encoding::Ansi:
            return files.ansiToUtf8(bytes);
        case Encoding::Oem:
            return files.oemToUtf8(bytes);
        case Encoding::Utf8:
        case Encoding::Utf8Bom:
            return std::string(bytes);
        case Encoding::Utf16Le:
        case Encoding::Utf16Be: {
            std::string text =
                text::utf16ToUtf8(text::utf16Units(bytes, encoding == Encoding::Utf16Be));
            if (bytes.size() % 2) text += bytes.back();  // a stray byte stays visible
            return text;
        }
    }
    return {};
}

std::string_view lineEnd(FileFormat::LineEnd end) {
    switch (end) {
        case FileFormat::LineEnd::CrLf:
            return "\r\n";
        case FileFormat::LineEnd::Lf:
            return "\n";
        case FileFormat::LineEnd::Cr:
            return "\r";
    }
    return "";
}

}  // namespace

std::string encodeBlock(const std::vector<PieceText>& lines, const FileFormat& format,
                        const FilePlatform& files) {
    std::string bytes(byteOrderMark(format.encoding));
    for (size_t i = 0; i < lines.size(); ++i) {
        for (const Piece& piece : lines[i]) {
            bytes += piece.raw ? piece.bytes : encodeText(piece.bytes, format.encoding, files);
        }
        if (i + 1 < lines.size() || format.finalLineEnd) {
            bytes += encodeText(lineEnd(format.lineEnd), format.encoding, files);
        }
    }
    return bytes;
}

std::vector<std::string> decodeLines(std::string_view bytes, const FileFormat& format,
                                     const FilePlatform& files) {
    const std::string_view mark = byteOrderMark(format.encoding);
    if (!mark.empty() && bytes.starts_with(mark)) bytes.remove_prefix(mark.size());
    const std::string text = decodeText(bytes, format.encoding, files);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string describeDifference(std::string_view expected, std::string_view actual,
                               const FileFormat& format, const FilePlatform& files) {
    const std::vector<std::string> want = decodeLines(expected, format, files);
    const std::vector<std::string> got = decodeLines(actual, format, files);
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        if (i < want.size() && i < got.size() && want[i] == got[i]) continue;
        const auto show = [](const std::vector<std::string>& lines, size_t index) {
            return index < lines.size() ? showText(lines[index]) : std::string("(no line)");
        };
        return "line " + std::to_string(i + 1) + ": expected " + show(want, i) + ", found " +
               show(got, i) + " (" + std::to_string(got.size()) + " lines in the file)";
    }
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const auto byte = [](std::string_view bytes, size_t index) {
        if (index >= bytes.size()) return std::string("(end)");
        static const char* digits = "0123456789ABCDEF";
        const auto value = static_cast<unsigned char>(bytes[index]);
        return std::string{digits[value >> 4], digits[value & 15]};
    };
    return "byte " + std::to_string(at) + ": expected " + byte(expected, at) + ", found " +
           byte(actual, at);
}

}  // namespace morvane::uiscript
