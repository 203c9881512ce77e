#include "tools/uiscript/script.h"

#include <gtest/gtest.h>

namespace morvane::uiscript {
namespace {

struct WordCase {
    const char* line;
    std::vector<Word> words;  // after the command name
};

TEST(Script, WordsAndQuoting) {
    const WordCase cases[] = {
        {R"(type ebTitle "a b")", {{false, "ebTitle"}, {true, "a b"}}},
        {R"(type ebTitle "")", {{false, "ebTitle"}, {true, ""}}},
        {"type \tebTitle   'x'  ", {{false, "ebTitle"}, {true, "x"}}},
        {R"(type e "\"q\" \\ \r\n\t")", {{false, "e"}, {true, "\"q\" \\ \r\n\t"}}},
        {R"(type e "caf\xC3\xA9\x00!")", {{false, "e"}, {true, std::string("caf\xC3\xA9\0!", 7)}}},
        {R"(type e "\u{41}\u{e9}\u{1F600}")", {{false, "e"}, {true, "A\xC3\xA9\xF0\x9F\x98\x80"}}},
        {R"(type e 'C:\FPGA\a.bit')", {{false, "e"}, {true, R"(C:\FPGA\a.bit)"}}},
        {R"(type e '"\n"')", {{false, "e"}, {true, R"("\n")"}}},
        {R"(type e "'")", {{false, "e"}, {true, "'"}}},
        {R"(type e "{E}\\x")", {{false, "e"}, {true, R"({E}\x)"}}},
        {"select cb 2", {{false, "cb"}, {false, "2"}}},
        {"select cb \"2\"", {{false, "cb"}, {true, "2"}}},
        {"expect selected cb -1", {{false, "cb"}, {false, "-1"}}},
        {"expect items cb", {{false, "cb"}}},
        {"expect enabled tc:1", {{false, "tc:1"}}},
        {"expect failure *", {{false, "*"}}},
        {"pick cancel", {{false, "cancel"}}},
        {"pick 'cancel'", {{true, "cancel"}}},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(c.line);
        const std::vector<Command> commands = parseScript(c.line);
        ASSERT_EQ(commands.size(), 1u);
        ASSERT_EQ(commands[0].args.size(), c.words.size());
        for (size_t i = 0; i < c.words.size(); ++i) {
            EXPECT_EQ(commands[0].args[i].quoted, c.words[i].quoted);
            EXPECT_EQ(commands[0].args[i].text, c.words[i].text);
        }
    }
}

TEST(Script, MalformedLinesNameTheLine) {
    const char* cases[] = {
        "type e \"open",
        "type e 'open",
        R"(type e "\q")",
        R"(type e "\x4")",
        R"(type e "\xG0")",
        R"(type e "\u{}")",
        R"(type e "\u{110000}")",
        R"(type e "\u41")",
        R"(type e "a\")",
        R"(type e "a"b)",
        "type e a\"b\"",
        "type e",
        "type e \"a\" \"b\"",
        "type \"e\" \"a\"",
        "click 1abc",
        "frobnicate",
        "expect",
        "expect colour e",
        "select cb x",
        "tab tc \"1\"",
        "answer maybe",
        "pick elsewhere",
        "expect failure",
        "expect message fatal \"x\"",
        "expect picker folder \"x\"",
        "expect memo Memo1 <<END\nEND",
        "expect enabled tc:x",
        "file \"a\" <<END",
        "file \"a\" utf8 utf16le <<END\nEND",
        "file \"a\" crlf lf <<END\nEND",
        "file \"a\" wide <<END\nEND",
        "file \"a\"",
        "file \"a\" escapes <<END\n\\q\nEND",
        "start <<END\nEND",
        "file \"a\" <<\nEND",
        "press",
        "press tab escape",
        "press \"tab\"",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const std::string script = std::string("# header\n\n") + text;
        try {
            parseScript(script);
            ADD_FAILURE() << "parsed";
        } catch (const ParseError& error) {
            EXPECT_GE(error.line, 3);
        }
    }
}

TEST(Script, BlocksAndLineNumbers) {
    const std::string text =
        "\xEF\xBB\xBF# comment\r\n"
        "  start\r\n"
        "file \"a.ini\" utf16be lf nofinal <<END\r\n"
        "[S]\r\n"
        "  # not a comment: \\x41 {E}\r\n"
        "\r\n"
        "END\r\n"
        "expect memo TabControl2:0 <<X\n"
        "X\n"
        "file 'b' escapes oem <<END\n"
        "a\\x00\\tb\n"
        "END\n";
    const std::vector<Command> commands = parseScript(text);
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].verb, Verb::Start);
    EXPECT_EQ(commands[0].line, 2);
    EXPECT_EQ(commands[0].source, "start");

    const Command& file = commands[1];
    EXPECT_EQ(file.verb, Verb::File);
    EXPECT_EQ(file.line, 3);
    ASSERT_EQ(file.args.size(), 1u);
    EXPECT_EQ(file.args[0].text, "a.ini");
    EXPECT_EQ(file.format.encoding, FileFormat::Encoding::Utf16Be);
    EXPECT_EQ(file.format.lineEnd, FileFormat::LineEnd::Lf);
    EXPECT_FALSE(file.format.finalLineEnd);
    ASSERT_EQ(file.block.size(), 3u);
    EXPECT_EQ(joined(file.block[1]), "  # not a comment: \\x41 {E}");
    EXPECT_EQ(joined(file.block[2]), "");

    EXPECT_EQ(commands[2].verb, Verb::ExpectMemo);
    EXPECT_EQ(commands[2].line, 8);
    EXPECT_TRUE(commands[2].block.empty());

    const Command& escaped = commands[3];
    EXPECT_EQ(escaped.line, 10);
    EXPECT_EQ(escaped.format.encoding, FileFormat::Encoding::Oem);
    ASSERT_EQ(escaped.block.size(), 1u);
    const PieceText expected = {{false, "a"}, {true, std::string(1, '\0')}, {false, "\tb"}};
    ASSERT_EQ(escaped.block[0].size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(escaped.block[0][i].raw, expected[i].raw);
        EXPECT_EQ(escaped.block[0][i].bytes, expected[i].bytes);
    }
}

TEST(Script, EveryCommandOfTheLanguage) {
    const char* lines[] = {
        "file \"p\" ansi crlf <<E\nE",
        "locale \",\" \".\"",
        "readonly 'p'",
        "start",
        "menu muAddPool",
        "click Button1",
        "type e \"t\"",
        "keys e \"t\"",
        "press tab shift+tab enter space up down left right backspace",
        "select cb \"x\"",
        "select cb 0",
        "tab tc 1",
        "answer yes",
        "answer no",
        "pick 'p'",
        "pick cancel",
        "screenshot \"n\"",
        "expect message error \"t\"",
        "expect message information \"t\"",
        "expect message warning \"t\"",
        "expect message confirm \"t\"",
        "expect failure \"t\"",
        "expect question \"t\"",
        "expect picker file \"t\"",
        "expect picker folder \"c\" \"s\"",
        "expect no-dialog",
        "expect text Form1 \"t\"",
        "expect items cb \"a\" \"b\"",
        "expect selected cb 0",
        "expect checked c",
        "expect unchecked c",
        "expect enabled c",
        "expect disabled tc:0",
        "expect page 5",
        "expect tab tc 0",
        "expect tabs tc \"a\"",
        "expect memo tc:0 <<E\nE",
        "expect hint c \"h\"",
        "expect focus c",
        "expect menu \"a\"",
        "expect file \"p\" utf8bom cr <<E\nE",
        "expect no-file \"p\"",
        "expect shell-open \"p\"",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        EXPECT_NO_THROW(parseScript(line));
    }
}

TEST(Script, PressNamesItsKeysInOrder) {
    const std::vector<Command> commands = parseScript("press shift+tab up tab");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].keys, (std::vector<Key>{Key::ShiftTab, Key::Up, Key::Tab}));
}

TEST(Script, FolderAndPaths) {
    EXPECT_EQ(expandFolder("{E}\\a {E}", "C:\\M"), "C:\\M\\a C:\\M");
    EXPECT_EQ(expandFolder("{e} {E", "C:\\M"), "{e} {E");
    const PieceText raw = expandFolder(PieceText{{false, "{E}"}, {true, "{E}"}}, "Z:\\t");
    EXPECT_EQ(raw[0].bytes, "Z:\\t");
    EXPECT_EQ(raw[1].bytes, "{E}");

    const struct {
        const char* path;
        const char* resolved;
    } paths[] = {
        {"Morvane.ini", "C:\\M\\Morvane.ini"},
        {"sub\\x.cmd", "C:\\M\\sub\\x.cmd"},
        {"\\x.cmd", "C:\\M\\x.cmd"},
        {"C:\\M\\x", "C:\\M\\x"},
        {"d:\\x", "d:\\x"},
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},
    };
    for (const auto& p : paths) EXPECT_EQ(resolvePath(p.path, "C:\\M"), p.resolved) << p.path;
}

TEST(Script, QuotedForReports) {
    EXPECT_EQ(showText("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(showText("\r\n\t"), R"("\r\n\t")");
    EXPECT_EQ(showText(std::string("\x01\xFF", 2)), R"("\u{1}\xFF")");
    EXPECT_EQ(showText("Café \xEF\xBB\xBF"), "\"Café \\u{feff}\"");
}

}  // namespace
}  // namespace morvane::uiscript
