// The settings file in the multi-byte ANSI code pages, natively through code-page doubles.
#include <gtest/gtest.h>

#include "code_page_cases.h"
#include "code_page_doubles.h"
#include "store_fixture.h"

namespace morvane::testing {
namespace {

TEST_F(StoreTest, MultiByteCodePagesKeepTheBytesOfLinesNotWritten) {
    for (int codePage : {932, 65001}) {
        SCOPED_TRACE(codePage);
        CodePageFiles pageFiles(codePage, root(), "C:\\Launcher\\morvane.exe");
        checkCodePageCases(pageFiles, codePage);
    }
}

TEST(CodePageDoubles, DecodeAsWindowsDoes) {
    EXPECT_EQ(cp932ToUtf8("a\x81\r\n"), "a\xE3\x83\xBB\n");  // the lead byte takes the CR
    EXPECT_EQ(cp932ToUtf8("\xED\x40\xFA\x5C\xB1\x81"),
              "\xE7\xBA\x8A\xE7\xBA\x8A\xEF\xBD\xB1\xE3\x83\xBB");
    std::string ansi;
    EXPECT_TRUE(
        utf8ToCp932("\xE7\xBA\x8A"
                    "a",
                    ansi));
    EXPECT_EQ(ansi,
              "\xFA\x5C"
              "a");
    EXPECT_FALSE(utf8ToCp932("\xC3\xA9", ansi));
    EXPECT_EQ(utf8AsAnsiToUtf8("\xC3\r\xE2\x82\xAC"), "\xEF\xBF\xBD\r\xE2\x82\xAC");
}

}  // namespace
}  // namespace morvane::testing
