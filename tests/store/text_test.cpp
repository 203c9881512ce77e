#include "store/text.h"

#include <gtest/gtest.h>

namespace morvane::text {
namespace {

TEST(Text, LetterCaseIsIgnoredBeyondAscii) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"Pool URL", "Pool Url", true},
        {"\xC3\x84pfel", "\xC3\xA4PFEL", true},                          // Äpfel / äPFEL
        {"\xD0\xA0\xD0\xB8\xD0\xB3", "\xD1\x80\xD0\x98\xD0\x93", true},  // Риг / рИГ
        {"\xD0\x81", "\xD1\x91", true},                                  // Ё / ё
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "\xC5\x82\xC3\x93"
         "D\xC5\xB9",
         true},  // Łódź / łÓDŹ
        {"Rig1", "Rig 1", false},
        {"a", "", false},
        {"\xC3\x84", "A", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(equalsNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    }
}

TEST(Text, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_NE(utf8.find("\xE2\x82\xAC"), std::string::npos);  // 0x80 is the euro sign
    std::string back;
    ASSERT_TRUE(utf8ToCp1252(utf8, back));
    EXPECT_EQ(back, all);
    EXPECT_FALSE(utf8ToCp1252("\xD0\xA0", back));  // Cyrillic has no place in 1252
}

TEST(Text, Utf16KeepsUnpairedSurrogates) {
    const std::u16string units = {u'a', 0xD83D, 0xDE00, 0xD800, u'b', 0xDC00};
    EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(units)), units);
}

TEST(Text, Trimming) {
    EXPECT_EQ(trimBlanks(" \t a b \t"), "a b");
    EXPECT_EQ(trimBlanks(" \t "), "");
    EXPECT_EQ(trimSpace("\v\f \xC2\xA0x y\xC2\xA0 \t"), "x y");
    EXPECT_EQ(trimSpace("\xC3\xA4"), "\xC3\xA4");
}

}  // namespace
}  // namespace morvane::text
