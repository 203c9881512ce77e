// The native sandbox on the host's own file system: errors that say nothing about a file's
// existence, permissions and symbolic links.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "store_fixture.h"

namespace morvane::testing {
namespace {

TEST_F(StoreTest, AFileWhoseExistenceCannotBeDeterminedIsNeverReplaced) {
    namespace fs = std::filesystem;
    // A loop of symbolic links: asking whether the file exists fails with ELOOP, not with
    // "no such file".
    fs::create_symlink("Morvane.ini", iniPath());
    EXPECT_EQ(store.readWrapped("S", "k", "default"), "default");
    EXPECT_THROW(store.writeWrapped("S", "k", "new"), StoreError);
    EXPECT_TRUE(fs::is_symlink(iniPath()));
    EXPECT_EQ(fs::read_symlink(iniPath()), "Morvane.ini");
    EXPECT_EQ(folderEntries(), std::set<std::string>{"Morvane.ini"});
    // A folder of the path that is a file: there is no such file, and a write says so.
    std::string bytes;
    std::ofstream(files.hostPath("C:\\Launcher\\plain"), std::ios::binary) << "x";
    EXPECT_EQ(files.readFile("C:\\Launcher\\plain\\Morvane.ini", bytes),
              FilePlatform::ReadResult::Absent);
}

TEST_F(StoreTest, TheReplaceKeepsPermissionsAndFollowsLinks) {
    namespace fs = std::filesystem;
    const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    putIni("[S]\r\nk=/*old*/\r\n");
    fs::permissions(iniPath(), ownerOnly);
    store.writeWrapped("S", "k", "new");
    EXPECT_EQ(ini(), "[S]\r\nk=/*new*/\r\n");
    EXPECT_EQ(fs::status(iniPath()).permissions(), ownerOnly);

    // Morvane.ini as a link to a file in another folder: the file is replaced, the link stays.
    const fs::path shared = files.hostPath("C:\\Shared\\real.ini");
    fs::create_directories(shared.parent_path());
    fs::remove(iniPath());
    std::ofstream(shared, std::ios::binary) << "[S]\r\nk=/*old*/\r\n";
    fs::permissions(shared, ownerOnly | fs::perms::group_read);
    fs::create_symlink("../Shared/real.ini", iniPath());
    store.writeWrapped("S", "k", "linked");
    EXPECT_TRUE(fs::is_symlink(iniPath()));
    EXPECT_EQ(fs::read_symlink(iniPath()), "../Shared/real.ini");
    EXPECT_EQ(store.readWrapped("S", "k", ""), "linked");
    std::ifstream in(shared, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[S]\r\nk=/*linked*/\r\n");
    EXPECT_EQ(fs::status(shared).permissions(), ownerOnly | fs::perms::group_read);
    EXPECT_EQ(folderEntries(), std::set<std::string>{"Morvane.ini"});
    EXPECT_EQ(std::distance(fs::directory_iterator(shared.parent_path()), {}), 1);
}

}  // namespace
}  // namespace morvane::testing
