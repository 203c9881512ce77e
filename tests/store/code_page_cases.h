#pragma once

// Settings files in the multi-byte ANSI code pages 932 and 65001, shared by the native tests
// (with code-page doubles) and the Windows ones (with the real code page under Wine).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "store/settings_store.h"
#include "store/text.h"

namespace morvane::testing {

struct CodePageWrite {
    std::string section, key, value;
};

struct CodePageRead {
    std::string section, key;
    std::optional<std::string> value;  // nullopt: absent
};

struct CodePageCase {
    const char* name;
    std::string before;  // the file's bytes
    std::vector<CodePageWrite> writes;
    std::string after;  // the file's bytes after the writes; the same as before without writes
    std::vector<CodePageRead> reads;  // after the writes
};

inline std::string utf16leFile(std::string_view utf8) {
    return "\xFF\xFE" + text::utf16Bytes(text::utf8ToUtf16(utf8), false);
}

inline std::vector<CodePageCase> codePageCases(int codePage) {
    const std::string middleDot = "\xE3\x83\xBB";          // U+30FB, what 932 makes of a cut pair
    const std::string kanji = "\xE7\xBA\x8A";              // U+7E8A: 0xED40, written back as 0xFA5C
    const std::string yun = "\xE4\xBA\x91";                // U+4E91: 0x895D, its second byte is "]"
    const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC";  // U+65E5 U+672C: 0x93FA 0x967B
    const std::string cyrillic = "\xD0\xA0\xD0\xB8\xD0\xB3";
    if (codePage == 932) {
        return {
            {"lines not written keep their bytes",
             "[S]\r\nbad=\x81\r\n[T]\r\nx=\xED\x40\r\n",
             {{"T", "k", "v"}},
             "[S]\r\nbad=\x81\r\n[T]\r\nx=\xED\x40\r\nk=v\r\n",
             {{"T", "x", kanji}, {"T", "k", "v"}, {"S", "bad", middleDot}}},
            {"a cut pair does not take the line break with it",
             "[S]\nbad=\x81\n[T]\nx=1\n",
             {},
             "[S]\nbad=\x81\n[T]\nx=1\n",
             {{"T", "x", "1"}, {"S", "x", std::nullopt}}},
            {"a header ends at a real bracket, not a second byte",
             "[S]\r\n[\x89\x5D\r\nk=1\r\n[\x89\x5D]\r\nj=2\r\n",
             {{yun, "n", nihon}, {"S", "k", "2"}},
             "[S]\r\n[\x89\x5D\r\nk=2\r\n[\x89\x5D]\r\nj=2\r\nn=\x93\xFA\x96\x7B\r\n",
             {{"S", "k", "2"}, {yun, "j", "2"}, {yun, "n", nihon}, {"S", "j", std::nullopt}}},
            {"a new section and key in the code page",
             "",
             {{nihon, yun, kanji}},
             "[\x93\xFA\x96\x7B]\r\n\x89\x5D=\xFA\x5C\r\n",
             {{nihon, yun, kanji}}},
            {"a character outside the code page turns the file into UTF-16",
             "[S]\r\nx=\xED\x40\r\n",
             {{"S", "k", "\xC3\xA9"}},
             utf16leFile("[S]\r\nx=" + kanji + "\r\nk=\xC3\xA9\r\n"),
             {{"S", "x", kanji}, {"S", "k", "\xC3\xA9"}}},
        };
    }
    return {
        {"lines not written keep their bytes",
         "[S]\r\nbad=\xC3\r\n[T]\r\nx=\xE2\x82\xAC\r\n",
         {{"T", "k", cyrillic}},
         "[S]\r\nbad=\xC3\r\n[T]\r\nx=\xE2\x82\xAC\r\nk=" + cyrillic + "\r\n",
         {{"T", "x", "\xE2\x82\xAC"}, {"T", "k", cyrillic}, {"S", "bad", "\xEF\xBF\xBD"}}},
        {"names match without regard to letter case",
         "[\xC3\x84pfel]\r\nK\xC3\x96=1\r\n",
         {{"\xC3\xA4PFEL", "k\xC3\xB6", "2"}},
         "[\xC3\x84pfel]\r\nK\xC3\x96=2\r\n",
         {{"\xC3\xA4pfel", "K\xC3\xB6", "2"}}},
    };
}

// Runs every case of the code page through a store on `files`, whose ANSI code page it is.
inline void checkCodePageCases(FilePlatform& files, int codePage) {
    SettingsStore store(files);
    const std::string path = store.path();
    for (const CodePageCase& c : codePageCases(codePage)) {
        SCOPED_TRACE(c.name);
        files.removeFile(path);
        if (!c.before.empty()) {
            ASSERT_TRUE(files.writeFile(path, c.before));
        }
        for (const CodePageWrite& w : c.writes) store.write(w.section, w.key, w.value);
        std::string after;
        EXPECT_EQ(files.readFile(path, after), FilePlatform::ReadResult::Ok);
        EXPECT_EQ(after, c.after);
        for (const CodePageRead& r : c.reads) {
            EXPECT_EQ(store.read(r.section, r.key, "<absent>"), r.value.value_or("<absent>"))
                << "[" << r.section << "] " << r.key;
        }
    }
    files.removeFile(path);
}

}  // namespace morvane::testing
