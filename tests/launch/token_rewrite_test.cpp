// The token file rewrite as plain functions: which lines change and how, and how the file is
// read and written back (encodings, line ends, refusals, an interrupted write).
#include "launch/token_rewrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../store/store_fixture.h"
#include "golden.h"

namespace morvane::launch {
namespace {

using testing::golden;

using Lines = std::vector<std::string>;

// The ten rules with the token page's default search strings; `values` fill them in order.
std::vector<TokenRule> defaultRules(Lines values = {}) {
    const char* searches[] = {
        "Host=",     "RPCPort=",         "MinerAcct=",   "TokenContract=", "Acctpk=",
        "GasPrice=", "GasPriceBidding=", "MaxGasPrice=", "BidTop=",        "ChallengeFolder="};
    std::vector<TokenRule> rules;
    for (size_t i = 0; i < 10; ++i) {
        rules.push_back({searches[i], i < values.size() ? values[i] : "v" + std::to_string(i + 1)});
    }
    return rules;
}

TEST(RewriteTokenLines, WhichLinesChange) {
    std::vector<TokenRule> sameSearch = defaultRules();
    sameSearch[1].search = "Host=";  // a second setting with the first one's search string
    std::vector<TokenRule> firstEmpty = sameSearch;
    firstEmpty[0].value = "";
    std::vector<TokenRule> emptySearch = defaultRules();
    emptySearch[2].search = "";
    std::vector<TokenRule> bareSearch = defaultRules();
    bareSearch[0].search = "Host";
    std::vector<TokenRule> keyOfUrl = defaultRules();
    keyOfUrl[4] = {"Url=", "c"};

    const struct {
        const char* what;
        std::vector<TokenRule> rules;
        Lines lines;
        Lines rewritten;
    } cases[] = {
        {"the worked example",
         defaultRules({"new-host", "7"}),
         {"; miner settings", "Host=old-host", "RPCPort = 1", "LogLevel=3", ""},
         {"; miner settings", "Host=new-host", "RPCPort = 1", "LogLevel=3", ""}},
        {"letter case, blanks and \";\" keep a line as it is",
         defaultRules({"new"}),
         {"host=old", " Host=old", "Host =old", "Host=old;x", "Host=old"},
         {"host=old", " Host=old", "Host =old", "Host=old;x", "Host=new"}},
        {"the key part ends at the first \"=\"", keyOfUrl, {"Url=a=b"}, {"Url=c"}},
        {"a search string without \"=\" never matches",
         bareSearch,
         {"Host", "Host=x"},
         {"Host", "Host=x"}},
        {"an empty value", defaultRules({""}), {"Host=old"}, {"Host="}},
        {"the bidding flag",
         defaultRules({"h", "p", "w", "c", "k", "5", "1"}),
         {"GasPriceBidding=0", "GasPrice=9"},
         {"GasPriceBidding=1", "GasPrice=5"}},
        {"two settings with one search string: the first one's value",
         sameSearch,
         {"Host=old"},
         {"Host=v1"}},
        {"unless it is empty: the line matches again and takes the later value",
         firstEmpty,
         {"Host=old"},
         {"Host=v2"}},
        {"an empty search string takes no part: a line without \"=\" stays",
         emptySearch,
         {"no equals sign", "x", "MinerAcct=old"},
         {"no equals sign", "x", "MinerAcct=old"}},
        {"one-character lines and the search string \"xxxx\" of a missing key",
         [] {
             auto rules = defaultRules();
             rules[0].search = "xxxx";
             return rules;
         }(),
         {"=", "Host=1", "xxxx"},
         {"=", "Host=1", "xxxx"}},
        {"no lines", defaultRules(), {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rewriteTokenLines(c.lines, c.rules), c.rewritten) << c.what;
    }
    const Lines once = rewriteTokenLines({"Host=a", "BidTop=", "x=1"}, defaultRules());
    EXPECT_EQ(rewriteTokenLines(once, defaultRules()), once);
}

class TokenFileTest : public testing::StoreTest {
  protected:
    std::filesystem::path host(const std::string& path) const { return files.hostPath(path); }
    void put(const std::string& path, const std::string& bytes) const {
        std::filesystem::create_directories(host(path).parent_path());
        std::ofstream(host(path), std::ios::binary) << bytes;
    }
    std::string bytesOf(const std::string& path) const {
        std::ifstream in(host(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(TokenFileTest, WorkedExampleByteForByte) {
    put("C:\\Tok\\miner.conf", golden("token/miner.conf"));
    const TokenFile file = readTokenFile(files, "C:\\Tok\\miner.conf");
    EXPECT_EQ(file.encoding, FileEncoding::Ansi);
    writeTokenFile(files, "C:\\Tok\\miner.conf",
                   rewriteTokenLines(file.lines, defaultRules({"new-host", "7"})), file.encoding);
    EXPECT_EQ(bytesOf("C:\\Tok\\miner.conf"), golden("token/miner.conf.rewritten"));
}

// Every encoding comes back in itself, mark included; line ends become CR LF with none at the
// end.
TEST_F(TokenFileTest, EachEncodingIsWrittenBackInItself) {
    const std::string utf16le(
        "\xFF\xFE"
        "H\0o\0s\0t\0=\0\x16\x04\n\0",
        16);
    const struct {
        const char* what;
        std::string before;
        FileEncoding encoding;
        Lines lines;
        std::string after;
    } cases[] = {
        {"ANSI", "Host=\xE9\rx\n", FileEncoding::Ansi, {"Host=é", "x"}, "Host=\xE9\r\nx"},
        {"UTF-8 with its mark",
         "\xEF\xBB\xBFHost=\xD0\x96\n",
         FileEncoding::Utf8,
         {"Host=Ж"},
         "\xEF\xBB\xBFHost=\xD0\x96"},
        {"UTF-16LE with its mark",
         utf16le,
         FileEncoding::Utf16Le,
         {"Host=Ж"},
         std::string("\xFF\xFE"
                     "H\0o\0s\0t\0=\0\x16\x04",
                     14)},
        {"UTF-16BE with its mark",
         std::string("\xFE\xFF\0a\0\r\0\n\0b", 10),
         FileEncoding::Utf16Be,
         {"a", "b"},
         std::string("\xFE\xFF\0a\0\r\0\n\0b", 10)},
        {"empty", "", FileEncoding::Ansi, {}, ""},
    };
    for (const auto& c : cases) {
        put("C:\\Tok\\t.conf", c.before);
        const TokenFile file = readTokenFile(files, "C:\\Tok\\t.conf");
        EXPECT_EQ(file.encoding, c.encoding) << c.what;
        EXPECT_EQ(file.lines, c.lines) << c.what;
        writeTokenFile(files, "C:\\Tok\\t.conf", file.lines, file.encoding);
        EXPECT_EQ(bytesOf("C:\\Tok\\t.conf"), c.after) << c.what;
    }
}

TEST_F(TokenFileTest, FilesThatCannotComeBackWholeAreRefused) {
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"UTF-16 without a mark", std::string("H\0o\0s\0t\0=\0", 10),
         "The token file \"C:\\Tok\\t.conf\" holds a NUL byte and has no byte-order mark, so it "
         "is no ANSI text file (perhaps UTF-16 without a mark); it was not rewritten."},
        {"an odd byte after UTF-16",
         std::string("\xFF\xFE"
                     "a\0b",
                     5),
         "The token file \"C:\\Tok\\t.conf\" is not valid UTF-16 text; it was not rewritten."},
        {"bytes that are no UTF-8 after its mark", "\xEF\xBB\xBFHost=\xFF",
         "The token file \"C:\\Tok\\t.conf\" is not valid UTF-8 text; it was not rewritten."},
    };
    for (const auto& c : cases) {
        put("C:\\Tok\\t.conf", c.bytes);
        try {
            readTokenFile(files, "C:\\Tok\\t.conf");
            ADD_FAILURE() << c.what << ": read";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.what;
        }
    }
    try {
        readTokenFile(files, "C:\\Tok\\missing.conf");
        ADD_FAILURE() << "a missing file was read";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(
            error.what(),
            "Cannot open the token file \"C:\\Tok\\missing.conf\": there is no such file.");
    }
    EXPECT_THROW(readTokenFile(files, ""), std::runtime_error);
}

// A write that fails leaves the old file byte for byte, and no temporary file beside it.
TEST_F(TokenFileTest, AFailedWriteLeavesTheFileAsItWas) {
    put("C:\\Tok\\t.conf", "Host=old\n");
    const auto entries = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(host("C:\\Tok"))) {
            names.insert(entry.path().filename().string());
        }
        return names;
    };
    files.failWrites = true;
    EXPECT_THROW(writeTokenFile(files, "C:\\Tok\\t.conf", {"Host=new"}, FileEncoding::Ansi),
                 std::runtime_error);
    files.failWrites = false;
    files.failReplace = true;
    try {
        writeTokenFile(files, "C:\\Tok\\t.conf", {"Host=new"}, FileEncoding::Ansi);
        ADD_FAILURE() << "written";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Unable to write to C:\\Tok\\t.conf");
    }
    EXPECT_EQ(bytesOf("C:\\Tok\\t.conf"), "Host=old\n");
    EXPECT_EQ(entries(), std::set<std::string>{"t.conf"});

    files.failReplace = false;
    try {
        writeTokenFile(files, "C:\\Tok\\t.conf", {"Host=Ж"}, FileEncoding::Ansi);
        ADD_FAILURE() << "written";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "The token file \"C:\\Tok\\t.conf\" is in the ANSI code page, which has no "
                     "\"Ж\" for its new text; it was left as it was.");
    }
    EXPECT_THROW(writeTokenFile(files, "", {"x"}, FileEncoding::Ansi), std::runtime_error);
    EXPECT_EQ(bytesOf("C:\\Tok\\t.conf"), "Host=old\n");
}

}  // namespace
}  // namespace morvane::launch
