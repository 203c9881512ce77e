#include "store/text_file.h"

#include <gtest/gtest.h>

#include "store/code_page_437.h"
#include "store/sandbox_files.h"

namespace morvane {
namespace {

TEST(CodePage437, EveryByteRoundTripsAndOtherCharactersAreRefused) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = text::cp437ToUtf8(all);
    std::string back;
    ASSERT_TRUE(text::utf8ToCp437(utf8, back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(text::cp437ToUtf8("C:\\Miner\xA1"
                                "a \x82\xEA\xC9\xFF"),
              "C:\\Minería éΩ╔\u00A0");
    for (const char* lacking : {"€", "Ж", "ő", "\xF0\x9F\x98\x80"}) {
        EXPECT_FALSE(text::utf8ToCp437(std::string("a") + lacking, back)) << lacking;
    }
}

TEST(TextFile, TheMarkSelectsTheEncoding) {
    const SandboxFiles codePage("unused", "C:\\x.exe");
    const struct {
        std::string bytes;
        FileEncoding encoding;
        std::string text;
    } cases[] = {
        {"caf\xE9\0x", FileEncoding::Ansi, "café"},
        {std::string("caf\xE9\0x", 6), FileEncoding::Ansi, std::string("café\0x", 7)},
        {"\xEF\xBB\xBF\xD0\x96", FileEncoding::Utf8, "Ж"},
        {"\xEF\xBB\xBF\xFF", FileEncoding::Utf8, "\xEF\xBF\xBD"},
        {std::string("\xFF\xFE\x16\x04", 4), FileEncoding::Utf16Le, "Ж"},
        {std::string("\xFE\xFF\x04\x16!", 5), FileEncoding::Utf16Be, "Ж"},
        {"\xFF", FileEncoding::Ansi, "ÿ"},
        {"", FileEncoding::Ansi, ""},
    };
    for (const auto& c : cases) {
        const DecodedText decoded = decodeTextFile(c.bytes, codePage);
        EXPECT_EQ(decoded.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(decoded.text, c.text) << c.bytes;
    }
    std::string bytes;
    ASSERT_TRUE(encodeTextFile("Ж", FileEncoding::Utf16Be, codePage, bytes));
    EXPECT_EQ(bytes, std::string("\xFE\xFF\x04\x16", 4));
    ASSERT_TRUE(encodeTextFile("Ж", FileEncoding::Utf8, codePage, bytes));
    EXPECT_EQ(bytes, "\xEF\xBB\xBF\xD0\x96");
    ASSERT_TRUE(encodeTextFile("é", FileEncoding::Ansi, codePage, bytes));
    EXPECT_EQ(bytes, "\xE9");
    EXPECT_FALSE(encodeTextFile("Ж", FileEncoding::Ansi, codePage, bytes));
}

TEST(TextFile, LinesEndAtAnyBreakAndAFinalBreakAddsNoLine) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n"), (Lines{"a"}));
    EXPECT_EQ(splitLines("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(splitLines("\r\r\n"), (Lines{"", ""}));
    EXPECT_EQ(splitLines("\n\r"), (Lines{"", ""}));
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(joinLines({"a", "", "b"}, false), "a\r\n\r\nb");
    EXPECT_EQ(joinLines({"a", ""}, true), "a\r\n\r\n");
    EXPECT_EQ(joinLines({}, true), "");
}

}  // namespace
}  // namespace morvane
