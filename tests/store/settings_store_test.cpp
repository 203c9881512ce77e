#include "store/settings_store.h"

#include <gtest/gtest.h>

#include "store_fixture.h"

namespace morvane::testing {
namespace {

TEST(Values, UnwrapRemovesTheFirstMarkersOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"/*abc*/", "abc"},   {"abc", "abc"}, {"/**/", ""},       {"x/*y", "xy"},
        {"/*a*/b*/", "ab*/"}, {"*/a/*", "a"}, {"/*/*x*/", "/*x"}, {"", ""},
    };
    for (const auto& [stored, value] : cases) EXPECT_EQ(unwrapValue(stored), value) << stored;
}

TEST(Values, FolderOfTheExecutable) {
    EXPECT_EQ(folderOf("C:\\Launcher\\morvane.exe"), "C:\\Launcher");
    EXPECT_EQ(folderOf("C:\\morvane.exe"), "C:\\");
    EXPECT_EQ(folderOf("\\\\server\\share\\m.exe"), "\\\\server\\share");
}

TEST_F(StoreTest, PathIsBesideTheExecutable) {
    EXPECT_EQ(store.path(), "C:\\Launcher\\Morvane.ini");
}

TEST_F(StoreTest, WrappedValuesComeBackAsTyped) {
    struct Case {
        const char* value;
        const char* line;
        const char* readBack;
    };
    const Case cases[] = {
        {" -i 20 ", "v=/* -i 20 */", " -i 20 "},
        {"\"quoted\"", "v=/*\"quoted\"*/", "\"quoted\""},
        {"'single'", "v=/*'single'*/", "'single'"},
        {"a*/b", "v=/*a*/b*/", "ab*/"},
        {"/*x", "v=/*/*x*/", "/*x"},
        {"", "v=/**/", ""},
    };
    for (const Case& c : cases) {
        store.writeWrapped("S", "v", c.value);
        EXPECT_EQ(store.readWrapped("S", "v", "default"), c.readBack) << c.value;
        EXPECT_EQ(ini(), std::string("[S]\r\n") + c.line + "\r\n");
    }
}

TEST_F(StoreTest, AbsentFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(store.readWrapped("Rig1", "Voltage", ".70"), ".70");
    EXPECT_TRUE(store.titles(kConfigurationTitles).empty());
    store.writeWrapped("Rig1", "Bitstream", "b");
    EXPECT_EQ(store.readWrapped("Rig1", "Number BCUs", "0"), "0");
    EXPECT_EQ(store.readWrapped("Rig2", "Has Pool", "xxx"), "xxx");
}

TEST_F(StoreTest, RawTitlesLoseTheirBlanks) {
    store.write(kConfigurationTitles, titleEntryKey(1), " Rig A ");
    const auto titles = store.titles(kConfigurationTitles);
    EXPECT_EQ(titles, std::vector<std::string>{"Rig A"});
    EXPECT_EQ(findTitle(titles, " Rig A "), std::nullopt);
    EXPECT_EQ(findTitle(titles, "Rig A"), 1);
}

TEST_F(StoreTest, SectionsAndKeysIgnoreLetterCase) {
    store.writeWrapped("Rig1PoolA", "Pool URL", "stratum+tcp://host");
    EXPECT_EQ(store.readWrapped("Rig1PoolA", "Pool Url", ""), "stratum+tcp://host");
    store.writeWrapped("rig1poola", "pool url", "other");
    EXPECT_EQ(ini(), "[Rig1PoolA]\r\nPool URL=/*other*/\r\n");
}

TEST_F(StoreTest, TitleNumbersFollowTheEntryCount) {
    putIni("[Configuration Titles]\r\nID1=A\r\nID3=C\r\n");
    const auto titles = store.titles(kConfigurationTitles);
    EXPECT_EQ(titles, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(findTitle(titles, "C"), 2);
    EXPECT_EQ(findTitle(titles, "c"), std::nullopt);
    // A new title gets number count + 1 = 3 and so replaces the title held under ID3.
    store.write(kConfigurationTitles, titleEntryKey(static_cast<int>(titles.size()) + 1), "New");
    EXPECT_EQ(store.titles(kConfigurationTitles), (std::vector<std::string>{"A", "New"}));
}

TEST_F(StoreTest, TitlesKeepFileOrderAndEverythingAfterTheFirstEquals) {
    putIni("[Configuration Titles]\r\nID2=Rig2\r\nID1=A=B\r\nID3=\r\nID4=Rig2\r\n");
    EXPECT_EQ(store.titles(kConfigurationTitles),
              (std::vector<std::string>{"Rig2", "A=B", "", "Rig2"}));
}

TEST_F(StoreTest, ValuesAreReadWholeHoweverLong) {
    const std::string longValue(70000, 'x');
    store.writeWrapped("S", "k", longValue);
    EXPECT_EQ(store.readWrapped("S", "k", ""), longValue);
}

TEST_F(StoreTest, EveryReadSeesTheFileAsItIsNow) {
    store.writeWrapped("S", "k", "1");
    EXPECT_EQ(store.readWrapped("S", "k", ""), "1");
    putIni("[S]\r\nk=/*2*/\r\n");
    EXPECT_EQ(store.readWrapped("S", "k", ""), "2");
}

TEST_F(StoreTest, WritesTheKnownFileByteForByte) {
    const auto config = [&](const std::string& c, int id, const std::vector<std::string>& v) {
        store.write(kConfigurationTitles, titleEntryKey(id), c);
        const char* keys[] = {"Bitstream",
                              "Miner",
                              "Miner Params Location",
                              "Miner Params",
                              "NextJTag Location",
                              "Set Voltage",
                              "Voltage",
                              "Number BCUs",
                              "FPGA Name Prefix",
                              "Miner Launch Delay",
                              "Rigname Offset",
                              "Has Pool",
                              "Has Token"};
        for (size_t i = 0; i < v.size(); ++i) store.writeWrapped(c, keys[i], v[i]);
    };
    config("Rig1", 1,
           {"C:\\FPGA\\algo1.bit", "C:\\FPGA\\miner\\miner.exe", "After Miner", "-i 20",
            "C:\\Tools\\JTag\\loader.exe", "Yes", "0.75", "4", "Rig1-FPGA", "1", "0", "1", "0"});
    store.write(poolListSection("Rig1"), titleEntryKey(1), "PoolA");
    store.write("Rig1PoolA", "Config Title", "PoolA");
    store.writeWrapped("Rig1PoolA", "Pool URL", "stratum+tcp://poolhost");
    store.writeWrapped("Rig1PoolA", "Pool Port", ":8333");
    store.writeWrapped("Rig1PoolA", "Pool Wallet", "mywallet");
    store.writeWrapped("Rig1PoolA", "Pool Rig Name", ".rig");
    config("Rig2", 2,
           {"C:\\FPGA\\algo2.bit", "C:\\FPGA\\tokenminer\\tokenminer.exe", "At End", "",
            "C:\\Tools\\JTag\\loader.exe", "No", "0.75", "2", "Rig2-FPGA", "0", "4", "0", "1"});
    store.write(tokenListSection("Rig2"), titleEntryKey(1), "TokA");
    store.write("Rig2TokA", "Config Title", "TokA");
    const std::pair<const char*, const char*> token[] = {
        {"Token File Location", "C:\\FPGA\\tokenminer\\miner.conf"},
        {"TokenHost", "nodehost"},
        {"TokenHostSearch", "Host="},
        {"TokenRPCPort", "8545"},
        {"TokenRPCPortSearch", "RPCPort="},
        {"TokenWallet", "mywallet"},
        {"TokenWalletSearch", "MinerAcct="},
        {"TokenContract", "mycontract"},
        {"TokenContractSearch", "TokenContract="},
        {"TokenSoloKey", ""},
        {"TokenSoloKeySearch", "Acctpk="},
        {"TokenGasPrice", "5"},
        {"TokenGasPriceSearch", "GasPrice="},
        {"TokenGasPriceBidding", "0"},
        {"TokenGasPriceBiddingSearch", "GasPriceBidding="},
        {"TokenMaxGasPrice", "5"},
        {"TokenMaxGasPriceSearch", "MaxGasPrice="},
        {"TokenBidTop", "0"},
        {"TokenBidTopSearch", "BidTop="},
        {"TokenChallangeFolder", "C:\\FPGA\\challenges"},
        {"TokenChallangeFolderSearch", "ChallengeFolder="},
    };
    for (const auto& [key, value] : token) store.writeWrapped("Rig2TokA", key, value);

    const char* expected[] = {"[Configuration Titles]",
                              "ID1=Rig1",
                              "ID2=Rig2",
                              "[Rig1]",
                              "Bitstream=/*C:\\FPGA\\algo1.bit*/",
                              "Miner=/*C:\\FPGA\\miner\\miner.exe*/",
                              "Miner Params Location=/*After Miner*/",
                              "Miner Params=/*-i 20*/",
                              "NextJTag Location=/*C:\\Tools\\JTag\\loader.exe*/",
                              "Set Voltage=/*Yes*/",
                              "Voltage=/*0.75*/",
                              "Number BCUs=/*4*/",
                              "FPGA Name Prefix=/*Rig1-FPGA*/",
                              "Miner Launch Delay=/*1*/",
                              "Rigname Offset=/*0*/",
                              "Has Pool=/*1*/",
                              "Has Token=/*0*/",
                              "[Rig1 Pools]",
                              "ID1=PoolA",
                              "[Rig1PoolA]",
                              "Config Title=PoolA",
                              "Pool URL=/*stratum+tcp://poolhost*/",
                              "Pool Port=/*:8333*/",
                              "Pool Wallet=/*mywallet*/",
                              "Pool Rig Name=/*.rig*/",
                              "[Rig2]",
                              "Bitstream=/*C:\\FPGA\\algo2.bit*/",
                              "Miner=/*C:\\FPGA\\tokenminer\\tokenminer.exe*/",
                              "Miner Params Location=/*At End*/",
                              "Miner Params=/**/",
                              "NextJTag Location=/*C:\\Tools\\JTag\\loader.exe*/",
                              "Set Voltage=/*No*/",
                              "Voltage=/*0.75*/",
                              "Number BCUs=/*2*/",
                              "FPGA Name Prefix=/*Rig2-FPGA*/",
                              "Miner Launch Delay=/*0*/",
                              "Rigname Offset=/*4*/",
                              "Has Pool=/*0*/",
                              "Has Token=/*1*/",
                              "[Rig2 Tokens]",
                              "ID1=TokA",
                              "[Rig2TokA]",
                              "Config Title=TokA",
                              "Token File Location=/*C:\\FPGA\\tokenminer\\miner.conf*/",
                              "TokenHost=/*nodehost*/",
                              "TokenHostSearch=/*Host=*/",
                              "TokenRPCPort=/*8545*/",
                              "TokenRPCPortSearch=/*RPCPort=*/",
                              "TokenWallet=/*mywallet*/",
                              "TokenWalletSearch=/*MinerAcct=*/",
                              "TokenContract=/*mycontract*/",
                              "TokenContractSearch=/*TokenContract=*/",
                              "TokenSoloKey=/**/",
                              "TokenSoloKeySearch=/*Acctpk=*/",
                              "TokenGasPrice=/*5*/",
                              "TokenGasPriceSearch=/*GasPrice=*/",
                              "TokenGasPriceBidding=/*0*/",
                              "TokenGasPriceBiddingSearch=/*GasPriceBidding=*/",
                              "TokenMaxGasPrice=/*5*/",
                              "TokenMaxGasPriceSearch=/*MaxGasPrice=*/",
                              "TokenBidTop=/*0*/",
                              "TokenBidTopSearch=/*BidTop=*/",
                              "TokenChallangeFolder=/*C:\\FPGA\\challenges*/",
                              "TokenChallangeFolderSearch=/*ChallengeFolder=*/"};
    std::string file;
    for (const char* line : expected) file += std::string(line) + "\r\n";
    EXPECT_EQ(ini(), file);

    EXPECT_EQ(store.readWrapped("Rig1PoolA", "Pool Url", ""), "stratum+tcp://poolhost");
    EXPECT_EQ(store.readWrapped("Rig2", "Miner Params", "x"), "");
    EXPECT_EQ(store.readWrapped("Rig1", "Voltage", ".70"), "0.75");
    EXPECT_EQ(store.titles(kConfigurationTitles), (std::vector<std::string>{"Rig1", "Rig2"}));
}

TEST_F(StoreTest, LineBreaksAndNulsAreRefusedAndNothingIsWritten) {
    putIni("[S]\r\nk=/*old*/\r\n");
    const std::string nul("a\0b", 3);
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"S", "k", "x\r\n[Inj]\r\nevil=1", "x\\r\\n[Inj]\\r\\nevil=1"},
        {"S", "k", "line\nbreak", "line\\nbreak"},
        {"S\r", "k", "v", "S\\r"},
        {"S", "k\n", "v", "k\\n"},
        {"S", "k", nul, "a\\0b"},
    };
    for (const auto& [section, key, value, shown] : cases) {
        try {
            store.writeWrapped(section, key, value);
            ADD_FAILURE() << "accepted " << shown;
        } catch (const StoreError& e) {
            EXPECT_NE(std::string(e.what()).find(shown), std::string::npos) << e.what();
        }
        EXPECT_EQ(ini(), "[S]\r\nk=/*old*/\r\n");
    }
}

TEST_F(StoreTest, ARefusedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string before = "[S]\r\nk=/*old*/\r\n";
    for (auto fault :
         {&FaultyFiles::unreadable, &FaultyFiles::failWrites, &FaultyFiles::failReplace}) {
        putIni(before);
        files.*fault = true;
        try {
            store.writeWrapped("S", "k", "new");
            ADD_FAILURE() << "the write was reported as made";
        } catch (const StoreError& e) {
            EXPECT_STREQ(e.what(), "Unable to write to C:\\Launcher\\Morvane.ini");
        }
        files.*fault = false;
        EXPECT_EQ(ini(), before);
        EXPECT_EQ(folderEntries(), std::set<std::string>{"Morvane.ini"});
    }
}

TEST_F(StoreTest, AnUnreadableFileReadsAsAbsent) {
    putIni("[S]\r\nk=/*v*/\r\n");
    files.unreadable = true;
    EXPECT_EQ(store.readWrapped("S", "k", "default"), "default");
    EXPECT_TRUE(store.list("S").empty());
}

TEST_F(StoreTest, ACyrillicTitleComesBackAsTyped) {
    const std::string title = "\xD0\xA0\xD0\xB8\xD0\xB3 1";  // Риг 1
    store.write(kConfigurationTitles, titleEntryKey(1), "Rig0");
    store.write(kConfigurationTitles, titleEntryKey(2), title);
    store.writeWrapped(title, "Miner", "C:\\m.exe");
    EXPECT_EQ(store.titles(kConfigurationTitles), (std::vector<std::string>{"Rig0", title}));
    EXPECT_EQ(store.readWrapped("\xD1\x80\xD0\xB8\xD0\xB3 1", "miner", ""), "C:\\m.exe");
    EXPECT_EQ(ini().substr(0, 2), "\xFF\xFE");
}

TEST_F(StoreTest, KeysThatCannotBeReadBackAreRefusedAndNothingIsWritten) {
    const std::string before = "[S]\r\nk=/*old*/\r\n";
    putIni(before);
    for (const char* key : {"a=b", "=", ";c", "  ;c", "[k]", "[k", " [k"}) {
        try {
            store.writeWrapped("S", key, "v");
            ADD_FAILURE() << "accepted the key " << key;
        } catch (const StoreError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("\"") + key + "\""), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(ini(), before) << key;
    }
    // Such characters elsewhere in a key are read back as they are.
    for (const char* key : {"k;", "k[", "k]", "a ;b"}) {
        store.writeWrapped("S", key, key);
        EXPECT_EQ(store.readWrapped("S", key, ""), key);
    }
}

TEST_F(StoreTest, AReadOnlyFileRefusesEveryWriteAndStaysAsItWas) {
    namespace fs = std::filesystem;
    const std::string before = "[S]\r\nk=/*old*/\r\n";
    putIni(before);
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(iniPath(), readOnly);
    const std::tuple<const char*, const char*> writes[] = {{"S", "k"}, {"S", "n"}, {"T", "k"}};
    for (const auto& [section, key] : writes) {
        try {
            store.writeWrapped(section, key, "new");
            ADD_FAILURE() << "a write to a read-only file was reported as made";
        } catch (const StoreError& e) {
            EXPECT_STREQ(e.what(), "Unable to write to C:\\Launcher\\Morvane.ini");
        }
        EXPECT_EQ(ini(), before);
        EXPECT_EQ(fs::status(iniPath()).permissions(), readOnly);
        EXPECT_EQ(folderEntries(), std::set<std::string>{"Morvane.ini"});
    }
    fs::permissions(iniPath(), fs::perms::owner_write, fs::perm_options::add);  // to clean up
}

TEST_F(StoreTest, ATemporaryFileLeftByACrashedWriterIsRemovedByTheNextWrite) {
    // Writers hold the lock while their temporary file exists: one found by a writer that has
    // the lock was left by a writer that crashed.
    const std::set<std::string> kept = {"Morvane.ini.tmp", "Morvane.ini.bak",
                                        "Morvane.ini.0123abcg.tmp", "Morvane.ini.0123abc.tmp",
                                        "Other.ini.0123abcd.tmp"};
    for (const std::string& name : kept) std::ofstream(iniPath().parent_path() / name) << "x";
    std::ofstream(iniPath().parent_path() / "Morvane.ini.0123abcd.tmp") << "[S]\r\nhalf";
    std::ofstream(iniPath().parent_path() / "MORVANE.INI.ffff0000.TMP") << "[S]\r\nhalf";
    putIni("[S]\r\nk=1\r\n");
    store.write("S", "k", "2");
    std::set<std::string> expected = kept;
    expected.insert("Morvane.ini");
    EXPECT_EQ(folderEntries(), expected);
    EXPECT_EQ(ini(), "[S]\r\nk=2\r\n");
}

TEST_F(StoreTest, AReplaceBlockedForAMomentIsTriedAgain) {
    putIni("[S]\r\nk=1\r\n");
    files.busyReplaces = 3;
    store.write("S", "k", "2");
    EXPECT_EQ(files.replaceTries, 4);
    EXPECT_EQ(ini(), "[S]\r\nk=2\r\n");
    // Blocked for good: after about a second the write fails, and leaves nothing behind.
    files.busyReplaces = 1000000;
    EXPECT_THROW(store.write("S", "k", "3"), StoreError);
    EXPECT_GT(files.replaceTries, 4 + 5);
    EXPECT_EQ(ini(), "[S]\r\nk=2\r\n");
    EXPECT_EQ(folderEntries(), std::set<std::string>{"Morvane.ini"});
}

TEST_F(StoreTest, AWriteWaitsForAnotherWriterAndGivesUpInTime) {
    putIni("[S]\r\nk=1\r\n");
    SettingsStore impatient(files, std::chrono::milliseconds(200));
    {
        const auto other = files.lockFile(store.path(), std::chrono::milliseconds(0));
        ASSERT_NE(other, nullptr);
        try {
            impatient.write("S", "k", "2");
            ADD_FAILURE() << "wrote while another writer held the file";
        } catch (const StoreError& e) {
            EXPECT_STREQ(e.what(), "Unable to write to C:\\Launcher\\Morvane.ini");
        }
        EXPECT_EQ(ini(), "[S]\r\nk=1\r\n");
    }
    impatient.write("S", "k", "2");
    EXPECT_EQ(ini(), "[S]\r\nk=2\r\n");
    EXPECT_EQ(folderEntries(), std::set<std::string>{"Morvane.ini"});
}

}  // namespace
}  // namespace morvane::testing
