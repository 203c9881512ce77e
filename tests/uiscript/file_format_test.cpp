#include "tools/uiscript/file_format.h"

#include <gtest/gtest.h>

#include "store/sandbox_files.h"

namespace morvane::uiscript {
namespace {

// Only the code page matters here: the sandbox's are Windows-1252 and 437,
// the code pages the runner gives the program.
class Cp1252 : public SandboxFiles {
  public:
    Cp1252() : SandboxFiles("/nonexistent", "") {}
};

std::vector<PieceText> plain(std::vector<std::string> lines) {
    std::vector<PieceText> block;
    for (std::string& line : lines) block.push_back({{false, std::move(line)}});
    return block;
}

FileFormat format(FileFormat::Encoding encoding,
                  FileFormat::LineEnd end = FileFormat::LineEnd::CrLf, bool final = true) {
    FileFormat f;
    f.encoding = encoding;
    f.lineEnd = end;
    f.finalLineEnd = final;
    return f;
}

using E = FileFormat::Encoding;
using L = FileFormat::LineEnd;

TEST(FileFormat, BlocksAsBytes) {
    const struct {
        std::vector<PieceText> lines;
        FileFormat format;
        std::string bytes;
    } cases[] = {
        {plain({"[S]", "K=é"}), format(E::Ansi), "[S]\r\nK=\xE9\r\n"},
        {plain({"C:\\Minería", "║"}), format(E::Oem),
         "C:\\Miner\xA1"
         "a\r\n\xBA\r\n"},
        {plain({"a", "b"}), format(E::Ansi, L::Lf, false), "a\nb"},
        {plain({"a", ""}), format(E::Ansi, L::Cr), "a\r\r"},
        {plain({}), format(E::Utf8Bom), "\xEF\xBB\xBF"},
        {plain({""}), format(E::Utf8), "\r\n"},
        {plain({"é"}), format(E::Utf8, L::Lf), "\xC3\xA9\n"},
        {plain({"aé"}), format(E::Utf16Le, L::Lf),
         std::string("\xFF\xFE"
                     "a\0\xE9\0\n\0",
                     8)},
        {plain({"\xF0\x9F\x98\x80"}), format(E::Utf16Be, L::Lf, false),
         std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6)},
        {{{{false, "a"}, {true, std::string(1, '\0')}}},
         format(E::Utf16Le, L::Lf, false),
         std::string("\xFF\xFE"
                     "a\0\0",
                     5)},
        {{{{true, "\xE9"}}}, format(E::Utf8, L::Lf, false), "\xE9"},
    };
    const Cp1252 files;
    for (const auto& c : cases) {
        EXPECT_EQ(encodeBlock(c.lines, c.format, files), c.bytes) << showText(c.bytes);
    }
    EXPECT_THROW(encodeBlock(plain({"Риг"}), format(E::Ansi), files), std::invalid_argument);
    EXPECT_THROW(encodeBlock(plain({"€"}), format(E::Oem), files), std::invalid_argument);
}

TEST(FileFormat, LinesKeepTheirEnds) {
    const Cp1252 files;
    EXPECT_EQ(decodeLines("a\r\nb\nc\rd", format(E::Ansi), files),
              (std::vector<std::string>{"a\r\n", "b\n", "c\r", "d"}));
    EXPECT_EQ(decodeLines("\x82t\xE9\r\n", format(E::Oem), files),
              (std::vector<std::string>{"étΘ\r\n"}));
    EXPECT_EQ(decodeLines("\xEF\xBB\xBFx\n", format(E::Utf8Bom), files),
              (std::vector<std::string>{"x\n"}));
    EXPECT_EQ(decodeLines("\xEF\xBB\xBFx", format(E::Utf8), files),
              (std::vector<std::string>{"\xEF\xBB\xBFx"}));
    EXPECT_EQ(decodeLines(std::string("\xFF\xFEx\0\r\0\n\0", 8), format(E::Utf16Le), files),
              (std::vector<std::string>{"x\r\n"}));
}

TEST(FileFormat, DifferenceNamesTheFirstLineOrByte) {
    const Cp1252 files;
    const FileFormat f = format(E::Ansi);
    EXPECT_EQ(describeDifference("a\r\nb\r\n", "a\r\nb\n", f, files),
              R"(line 2: expected "b\r\n", found "b\n" (2 lines in the file))");
    EXPECT_EQ(describeDifference("a\r\n", "a\r\nb", f, files),
              R"(line 2: expected (no line), found "b" (2 lines in the file))");
    EXPECT_EQ(describeDifference("\xEF\xBB\xBFx", "x", format(E::Utf8Bom), files),
              "byte 0: expected EF, found 78");
}

}  // namespace
}  // namespace morvane::uiscript
