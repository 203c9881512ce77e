// The settings store against the platform's own profile functions, on the same files.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "folder_files.h"
#include "store/settings_store.h"
#include "store/text.h"
#include "win32/win32_files.h"

namespace morvane {
namespace {

std::string scratchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string folder = narrow(temp) + "morvane-compat-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(widen(folder).c_str(), nullptr);
    return folder;
}

std::string utf16le(std::string_view utf8) {
    return "\xFF\xFE" + text::utf16Bytes(text::utf8ToUtf16(utf8), false);
}

std::string utf16be(std::string_view utf8) {
    return "\xFE\xFF" + text::utf16Bytes(text::utf8ToUtf16(utf8), true);
}

class ProfileCompat : public ::testing::Test {
  protected:
    ProfileCompat() : files(scratchFolder()), store(files), path(store.path()) {}
    ~ProfileCompat() override {
        DeleteFileW(widen(path).c_str());
        RemoveDirectoryW(widen(folderOf(path)).c_str());
    }

    void put(std::string_view bytes) { ASSERT_TRUE(files.writeFile(path, bytes)); }

    std::string platformRead(const std::string& section, const std::string& key,
                             const std::string& fallback) const {
        std::wstring buffer(200000, L'\0');
        const DWORD length = GetPrivateProfileStringW(
            widen(section).c_str(), widen(key).c_str(), widen(fallback).c_str(), buffer.data(),
            static_cast<DWORD>(buffer.size()), widen(path).c_str());
        buffer.resize(length);
        return narrow(buffer);
    }

    std::vector<std::string> platformList(const std::string& section) const {
        std::wstring buffer(200000, L'\0');
        const DWORD length =
            GetPrivateProfileSectionW(widen(section).c_str(), buffer.data(),
                                      static_cast<DWORD>(buffer.size()), widen(path).c_str());
        std::vector<std::string> lines;
        for (size_t start = 0; start < length;) {
            const size_t end = buffer.find(L'\0', start);
            lines.push_back(narrow(std::wstring_view(buffer).substr(start, end - start)));
            start = end + 1;
        }
        return lines;
    }

    void platformWrite(const std::string& section, const std::string& key,
                       const std::string& value) {
        ASSERT_TRUE(WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(),
                                               widen(value).c_str(), widen(path).c_str()));
    }

    testing::FolderFiles files;
    SettingsStore store;
    std::string path;
};

struct Query {
    std::string section;
    std::string key;
    // Where the store departs from the platform on purpose, the reason; empty: both agree.
    std::string departure = {};
};

struct ReadCase {
    const char* name;
    std::string file;
    std::vector<Query> queries;
};

TEST_F(ProfileCompat, ReadsAgreeWithTheProfileFunctions) {
    const std::string ae = "\xC3\xA4";  // ä
    const ReadCase cases[] = {
        {"blanks and quotes",
         "[S]\r\nplain=v\r\n  spaced  =  a b  \r\ndq=\"v1\"\r\nsq='v2'\r\nodd=\"v3'\r\n"
         "open=\"v4\r\npadded=  \" p \"  \r\nwrapped=/* x */\r\nempty=\r\n",
         {{"S", "plain"},
          {"S", "spaced"},
          {"S", "dq"},
          {"S", "sq"},
          {"S", "odd"},
          {"S", "open"},
          {"S", "padded"},
          {"S", "wrapped"},
          {"S", "empty"},
          {"S", "absent"},
          {"T", "plain"}}},
        {"letter case and names",
         "  [ Rig One ]  \r\nPool URL=u\r\n[" + std::string("\xC4pfel") + "]\r\nk=1\r\n",
         {{"rig one", "POOL url"},
          {" Rig One\t", " Pool URL "},
          {"\xC3\x84pfel", "k"},
          {ae + "pfel", "K", "letter case beyond ASCII is ignored by the store"}}},
        {"comments, bare lines, duplicates and equals signs",
         "; header comment\r\n[S]\r\n;c=1\r\nbare\r\nk=a=b\r\nk=second\r\n[S]\r\nlater=1\r\n"
         "[a]b]\r\nx=2\r\n[Sec] trailing\r\ny=3\r\n",
         {{"S", "k"},
          {"S", "later"},
          {"S", "bare"},
          {"a]b", "x"},
          {"Sec", "y"},
          {"S", ";c", "a comment line is no key for the store"}}},
        {"line ends",
         "[S]\nlf=1\n[T]\rcr=2\r[U]\r\ncrlf=3",
         {{"S", "lf"}, {"T", "cr"}, {"U", "crlf"}}},
        {"ANSI bytes", "[Caf\xE9]\r\nk=\x80 \xE9t\xE9\r\n", {{"Caf\xC3\xA9", "k"}}},
        {"UTF-8 with BOM", "\xEF\xBB\xBF[S]\r\nk=\xD0\xA0\xD0\xB8\xD0\xB3\r\n", {{"S", "k"}}},
        {"UTF-16LE",
         utf16le("[S]\r\nk=\xD0\xA0\xD0\xB8\xD0\xB3\r\n[Rig]\r\nj=2\r\n"),
         {{"S", "k"}, {"rig", "j"}}},
        {"UTF-16BE", utf16be("[S]\r\nk=\xE2\x82\xAC\r\n"), {{"S", "k"}}},
        {"long value", "[S]\r\nk=" + std::string(70000, 'v') + "\r\n", {{"S", "k"}}},
    };
    for (const ReadCase& c : cases) {
        put(c.file);
        for (const Query& q : c.queries) {
            const std::string ours = store.read(q.section, q.key, "<default>");
            const std::string theirs = platformRead(q.section, q.key, "<default>");
            if (q.departure.empty()) {
                EXPECT_EQ(ours, theirs) << c.name << ": [" << q.section << "] " << q.key;
            } else {
                EXPECT_NE(ours, theirs) << c.name << ": " << q.departure;
            }
        }
    }
}

TEST_F(ProfileCompat, ListingsAgreeWithTheProfileFunctions) {
    put("[T]\r\nx=1\r\n[S]\r\nk = v \r\n; note\r\nID1=A=B\r\nID2=\r\nj=2\r\n[U]\r\ny=3\r\n");
    EXPECT_EQ(store.list("s"), platformList("s"));
    // Lines without "=" are listed bare by the platform; the store lists entries only.
    put("[S]\r\nk=1\r\nbare\r\n");
    EXPECT_EQ(platformList("S"), (std::vector<std::string>{"k=1", "bare"}));
    EXPECT_EQ(store.list("S"), std::vector<std::string>{"k=1"});
}

TEST_F(ProfileCompat, ListingsAndNewKeysDepartAsDocumented) {
    // The platform lists the stored text, the store the values that reads give; both list an
    // entry with an empty key.
    put("[S]\r\nq=\"quoted\"\r\n=empty\r\n");
    EXPECT_EQ(platformList("S"), (std::vector<std::string>{"q=\"quoted\"", "=empty"}));
    EXPECT_EQ(store.list("S"), (std::vector<std::string>{"q=quoted", "=empty"}));
    EXPECT_EQ(store.read("S", "", "none"), platformRead("S", "", "none"));
    // A new key: the platform puts it after the comment lines that end its section, the store
    // after the section's last entry.
    const std::string file = "[S]\r\na=1\r\n; end of S\r\n[T]\r\nx=1\r\n";
    std::string after;
    put(file);
    platformWrite("S", "b", "2");
    ASSERT_EQ(files.readFile(path, after), FilePlatform::ReadResult::Ok);
    EXPECT_EQ(after, "[S]\r\na=1\r\n; end of S\r\nb=2\r\n[T]\r\nx=1\r\n");
    put(file);
    store.write("S", "b", "2");
    ASSERT_EQ(files.readFile(path, after), FilePlatform::ReadResult::Ok);
    EXPECT_EQ(after, "[S]\r\na=1\r\nb=2\r\n; end of S\r\n[T]\r\nx=1\r\n");
}

struct Write {
    std::string section;
    std::string key;
    std::string value;
};

struct WriteCase {
    const char* name;
    std::string file;  // empty: no file
    std::vector<Write> writes;
};

// Each case is written once by the store and once by the platform; all four readings of every
// written key (each file through each reader) must agree.
TEST_F(ProfileCompat, FilesWrittenByEitherReadTheSameThroughBoth) {
    const std::string cyrillic = "\xD0\xA0\xD0\xB8\xD0\xB3";
    const WriteCase cases[] = {
        {"new file",
         "",
         {{"Configuration Titles", "ID1", "Rig1"},
          {"Rig1", "Bitstream", "/*C:\\a b.bit*/"},
          {"Rig1", "Miner Params", "/* -i 20 */"},
          {"Rig1", "Voltage", "/*0.75*/"},
          {"Configuration Titles", "ID2", "Rig2"}}},
        {"replacing with other letter case",
         "[Rig1]\r\nPool URL=/*old*/\r\nOther=1\r\n",
         {{"RIG1", "pool url", "/*new*/"}, {"rig1", "Added", "x"}}},
        {"hand-edited file",
         "; kept\r\n\r\n[Configuration Titles]\r\nID1 = Rig1\r\nID3=Rig3\r\n\r\n[Rig1]\r\n"
         "  Miner =  /*m.exe*/  \r\n",
         {{"Configuration Titles", "ID3", "Rig2"},
          {"Rig1", "Miner", "/*n.exe*/"},
          {"Rig1", "Voltage", "/*0.80*/"},
          {"New", "k", "v"}}},
        {"quotes and blanks",
         "",
         {{"S", "q", "\"quoted\""}, {"S", "lead", "   lead"}, {"S", "w", "/*\"w\"*/"}}},
        {"UTF-16LE file", utf16le("[S]\r\nk=1\r\n"), {{"S", "k", cyrillic}, {"S", "n", "2"}}},
        {"UTF-16BE file", utf16be("[S]\r\nk=1\r\n"), {{"S", "k", "\xE2\x82\xAC"}}},
        {"UTF-8 file", "\xEF\xBB\xBF[S]\r\nk=1\r\n", {{"S", "k", "\xC3\xA9"}}},
        {"ANSI file", "[S]\r\nk=1\r\n", {{"S", "k", "caf\xC3\xA9"}}},
        {"long value", "", {{"S", "k", std::string(70000, 'v')}}},
    };
    for (const WriteCase& c : cases) {
        if (!c.file.empty())
            put(c.file);
        else
            DeleteFileW(widen(path).c_str());
        for (const Write& w : c.writes) store.write(w.section, w.key, w.value);
        std::vector<std::string> byStore[2];
        for (const Write& w : c.writes) {
            byStore[0].push_back(store.read(w.section, w.key, "<default>"));
            byStore[1].push_back(platformRead(w.section, w.key, "<default>"));
        }
        if (!c.file.empty())
            put(c.file);
        else
            DeleteFileW(widen(path).c_str());
        for (const Write& w : c.writes) platformWrite(w.section, w.key, w.value);
        for (size_t i = 0; i < c.writes.size(); ++i) {
            const Write& w = c.writes[i];
            const std::string where = std::string(c.name) + ": [" + w.section + "] " + w.key;
            EXPECT_EQ(byStore[0][i], byStore[1][i]) << where << " (store's file)";
            EXPECT_EQ(store.read(w.section, w.key, "<default>"), byStore[0][i]) << where;
            EXPECT_EQ(platformRead(w.section, w.key, "<default>"), byStore[0][i]) << where;
        }
    }
}

TEST_F(ProfileCompat, CharactersOutsideTheCodePageSurviveOnlyInTheStore) {
    const std::string cyrillic = "\xD0\xA0\xD0\xB8\xD0\xB3";
    put("[S]\r\nk=1\r\n");
    platformWrite("S", "title", cyrillic);
    EXPECT_EQ(platformRead("S", "title", ""), "???");
    put("[S]\r\nk=1\r\n");
    store.write("S", "title", cyrillic);
    EXPECT_EQ(platformRead("S", "title", ""), cyrillic);
    EXPECT_EQ(platformRead("S", "k", ""), "1");
}

TEST_F(ProfileCompat, ALineBreakInAValueIsRefusedWhereThePlatformInjects) {
    put("[S]\r\nk=1\r\n");
    platformWrite("S", "k", "x\r\n[Inj]\r\nevil=1");
    EXPECT_EQ(platformRead("Inj", "evil", ""), "1");
    put("[S]\r\nk=1\r\n");
    EXPECT_THROW(store.write("S", "k", "x\r\n[Inj]\r\nevil=1"), StoreError);
    EXPECT_EQ(platformRead("Inj", "evil", "none"), "none");
    EXPECT_EQ(platformRead("S", "k", ""), "1");
}

TEST_F(ProfileCompat, AFileLockedByAnotherProgramIsNeverOverwritten) {
    const std::string before = "[S]\r\nk=/*old*/\r\n";
    put(before);
    HANDLE lock = CreateFileW(widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(store.readWrapped("S", "k", "unreadable"), "unreadable");
    try {
        store.writeWrapped("S", "k", "new");
        ADD_FAILURE() << "a write to a locked file was reported as made";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    CloseHandle(lock);
    std::string after;
    ASSERT_EQ(files.readFile(path, after), FilePlatform::ReadResult::Ok);
    EXPECT_EQ(after, before);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widen(folderOf(path) + "\\*").c_str(), &found);
    std::vector<std::string> names;
    do {
        names.push_back(narrow(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "Morvane.ini"}));
}

}  // namespace
}  // namespace morvane
