#include "tools/uiscript/scenario_files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace morvane::uiscript {
namespace {

namespace fs = std::filesystem;

class ScenarioFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::path(::testing::TempDir()) /
            ("scenario_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "exe");
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

TEST_F(ScenarioFilesTest, WindowsPathsOnThisMachine) {
    ScenarioFiles files("C:\\Morvane", root_ / "exe", root_ / "drives");
    std::ofstream(root_ / "exe" / "Morvane.INI") << "x";
    const struct {
        const char* windows;
        fs::path host;
    } cases[] = {
        {"C:\\Morvane\\a.cmd", root_ / "exe" / "a.cmd"},
        {"c:/morvane/sub/../a.cmd", root_ / "exe" / "a.cmd"},
        {"a.cmd", root_ / "exe" / "a.cmd"},
        {"C:\\Morvane\\morvane.ini", root_ / "exe" / "Morvane.INI"},
        {"C:\\MorvaneX\\a", root_ / "drives" / "C" / "MorvaneX" / "a"},
        {"d:\\FPGA\\algo1.bit", root_ / "drives" / "D" / "FPGA" / "algo1.bit"},
    };
    for (const auto& c : cases) EXPECT_EQ(files.hostPath(c.windows), c.host) << c.windows;
    EXPECT_EQ(files.executablePath(), "C:\\Morvane\\morvane.exe");
}

TEST_F(ScenarioFilesTest, WritesNeedTheirFolderAsOnWindows) {
    ScenarioFiles files("C:\\Morvane", root_ / "exe", root_ / "drives");
    EXPECT_TRUE(files.writeFile("C:\\x.txt", "a"));
    EXPECT_FALSE(files.writeFile("C:\\missing\\x.txt", "a"));
    EXPECT_TRUE(files.makeParentFolders("C:\\missing\\x.txt"));
    EXPECT_TRUE(files.writeFile("C:\\missing\\x.txt", "b"));
    EXPECT_EQ(files.replaceFile("C:\\missing\\x.txt", "c:\\X.TXT"),
              FilePlatform::ReplaceResult::Done);
    std::string bytes;
    EXPECT_EQ(files.readFile("C:\\x.txt", bytes), FilePlatform::ReadResult::Ok);
    EXPECT_EQ(bytes, "b");
    EXPECT_EQ(files.readFile("C:\\missing", bytes), FilePlatform::ReadResult::Unreadable);
    EXPECT_EQ(files.readFile("C:\\missing\\x.txt", bytes), FilePlatform::ReadResult::Absent);
    EXPECT_FALSE(files.writeFile("C:\\missing", "a"));
    EXPECT_TRUE(files.removeFile("C:\\X.txt"));
    EXPECT_FALSE(files.removeFile("C:\\x.txt"));
}

}  // namespace
}  // namespace morvane::uiscript
