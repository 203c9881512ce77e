#include "store/profile_text.h"

#include <gtest/gtest.h>

#include "store/sandbox_files.h"
#include "store/text.h"

namespace morvane {
namespace {

const SandboxFiles& cp1252() {
    static const SandboxFiles files("/nonexistent", "C:\\x.exe");
    return files;
}

std::optional<std::string> readIn(std::string_view file, std::string_view section,
                                  std::string_view key) {
    return ProfileText(file, cp1252()).read(section, key);
}

TEST(ProfileText, ReadsByTheDialectRules) {
    struct Case {
        std::string file;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"[Sec]\r\nKey=Value\r\n", "Sec", "Key", "Value"},
        {"[S]\r\nk=  v w \t\r\n", "S", "k", "v w"},
        {"[S]\r\nk=\"v1\"\r\n", "S", "k", "v1"},
        {"[S]\r\nk='v2'\r\n", "S", "k", "v2"},
        {"[S]\r\nk=\"v3'\r\n", "S", "k", "\"v3'"},
        {"[S]\r\nk=\"v4\r\n", "S", "k", "\"v4"},
        {"[S]\r\nk=  \" padded \"  \r\n", "S", "k", " padded "},
        {"[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"[S]\r\nk=\r\n", "S", "k", ""},
        {"  [ S ]  \r\n \t k  = v\r\n", " S\t", " k ", "v"},
        {"[sEC]\r\nKEY=v\r\n", "Sec", "key", "v"},
        {"[\xC4pfel]\r\nk=v\r\n", "\xC3\xA4PFEL", "K", "v"},  // ANSI file, Ä matches ä
        {"[S]\r\na=1\r\na=2\r\n", "S", "a", "1"},
        {"[S]\r\na=1\r\n[s]\r\nb=2\r\n", "S", "b", std::nullopt},  // first section only
        {"[S]\r\n;c=1\r\n", "S", ";c", std::nullopt},
        {"[S]\r\nbare\r\n", "S", "bare", std::nullopt},
        {"[S]\r\nkey=a=b\r\n", "S", "key", "a=b"},
        {"[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
        {"[Sec] x\r\nk=1\r\n", "Sec", "k", "1"},
        {"[S]\r\n[noclose\r\nk=1\r\n", "S", "k", "1"},
        {"[S]\nk=1\rj=2", "S", "j", "2"},
        {std::string("[S]\r\nk=ab\0cd\r\n", 14), "S", "k", "ab"},
        {"k=1\r\n[S]\r\n", "S", "k", std::nullopt},
        {"[S]\r\nk=1\r\n", "T", "k", std::nullopt},
        {"", "S", "k", std::nullopt},
        {"[]\r\nk=1\r\n", "", "k", "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readIn(c.file, c.section, c.key), c.expected)
            << "file: " << c.file << " [" << c.section << "] " << c.key;
    }
}

TEST(ProfileText, ListsEntriesInFileOrder) {
    const std::string file =
        "[T]\r\nx=1\r\n[S]\r\nk = \"q\" \r\n; note\r\nbare\r\nID3=A=B\r\nj=2\r\n[U]\r\ny=3\r\n";
    EXPECT_EQ(ProfileText(file, cp1252()).list("s"),
              (std::vector<std::string>{"k=q", "ID3=A=B", "j=2"}));
    EXPECT_TRUE(ProfileText(file, cp1252()).list("V").empty());
}

TEST(ProfileText, WritesChangeOnlyTheirEntry) {
    struct Case {
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const Case cases[] = {
        {"", "Sec", "Key", "Value", "[Sec]\r\nKey=Value\r\n"},
        {"[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "S", "c", "3",
         "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n"},
        {"; top\n[Sec]\nKey = old\n\n[T]\nx =  1\n", "SEC", "KEY", "new",
         "; top\n[Sec]\nKey=new\n\n[T]\nx =  1\n"},
        {"[S]\r\na=1", "T", "b", "2", "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
        {"[S]\r\na=1", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"},
        {"[S]", "S", "a", "1", "[S]\r\na=1\r\n"},
        {"[S]\r\n[T]\r\n", "S", "a", "1", "[S]\r\na=1\r\n[T]\r\n"},
        {"[S]\r\na=1\r\n; end of S\r\n", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n; end of S\r\n"},
        {"[S]\r\na=1\r\n", "S", "a", "  lead and trail  ", "[S]\r\na=  lead and trail  \r\n"},
        {"[S]\rID1=x\r[T]\r", "s", "id1", "y", "[S]\rID1=y\r[T]\r"},
        {"[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3", "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},
    };
    for (const Case& c : cases) {
        ProfileText text(c.before, cp1252());
        text.write(c.section, c.key, c.value);
        EXPECT_EQ(text.bytes(), c.after) << "before: " << c.before;
    }
}

TEST(ProfileText, SectionNamesWithBracketsRoundTrip) {
    for (const char* name : {"a]b", "x] y", "ab]", "[ab", "Rig [2]"}) {
        ProfileText text("", cp1252());
        text.write(name, "k", "v");
        text.write("other", "k", "w");
        EXPECT_EQ(ProfileText(text.bytes(), cp1252()).read(name, "k"), "v") << name;
    }
}

std::string utf16(std::string_view utf8, bool bigEndian) {
    return (bigEndian ? "\xFE\xFF" : "\xFF\xFE") +
           text::utf16Bytes(text::utf8ToUtf16(utf8), bigEndian);
}

TEST(ProfileText, KeepsTheFileEncoding) {
    // "ä" and "€" in every encoding, edited with another value holding "é".
    const std::string before = "[S\xC3\xA4]\r\nk=\xE2\x82\xAC\r\n";
    const std::string after = "[S\xC3\xA4]\r\nk=\xE2\x82\xAC\r\nn=\xC3\xA9\r\n";
    struct Case {
        FileEncoding encoding;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {FileEncoding::Ansi, "[S\xE4]\r\nk=\x80\r\n", "[S\xE4]\r\nk=\x80\r\nn=\xE9\r\n"},
        {FileEncoding::Utf8, "\xEF\xBB\xBF" + before, "\xEF\xBB\xBF" + after},
        {FileEncoding::Utf16Le, utf16(before, false), utf16(after, false)},
        {FileEncoding::Utf16Be, utf16(before, true), utf16(after, true)},
    };
    for (const Case& c : cases) {
        ProfileText text(c.before, cp1252());
        EXPECT_EQ(text.encoding(), c.encoding);
        EXPECT_EQ(text.read("S\xC3\x84", "K"), "\xE2\x82\xAC");
        text.write("S\xC3\xA4", "n", "\xC3\xA9");
        EXPECT_EQ(text.bytes(), c.after);
    }
}

TEST(ProfileText, AnAnsiFileBecomesUtf16ForCharactersOutsideTheCodePage) {
    const std::string cyrillic = "\xD0\xA0\xD0\xB8\xD0\xB3";  // Риг
    ProfileText text("; caf\xE9\r\n[S]\r\na=1\r\n", cp1252());
    text.write("S", "title", cyrillic);
    const std::string bytes = text.bytes();
    EXPECT_EQ(bytes, utf16("; caf\xC3\xA9\r\n[S]\r\na=1\r\ntitle=" + cyrillic + "\r\n", false));
    EXPECT_EQ(ProfileText(bytes, cp1252()).read("s", "TITLE"), cyrillic);
}

TEST(ProfileText, KeepsAnOddLastByteOfAUtf16File) {
    const std::string before = utf16("[S]\r\na=1\r\n", false) + "\x41";
    ProfileText text(before, cp1252());
    text.write("S", "a", "2");
    EXPECT_EQ(text.bytes(), utf16("[S]\r\na=2\r\n", false) + "\x41");
}

}  // namespace
}  // namespace morvane
