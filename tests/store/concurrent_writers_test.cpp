// Two processes writing different keys of one settings file at the same time, while this one
// reads it: no write reported as done may be lost, and no read may see an empty or cut file.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "concurrent_writes.h"
#include "store_fixture.h"

extern char** environ;

namespace morvane::testing {
namespace {

constexpr int kWritesEach = 1000;

std::filesystem::path writerProgram() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "store_writer";
}

pid_t startWriter(const std::filesystem::path& root, const std::string& prefix) {
    const std::string program = writerProgram().string();
    const std::string rootText = root.string();
    const std::string count = std::to_string(kWritesEach);
    std::vector<char*> argv = {
        const_cast<char*>(program.c_str()), const_cast<char*>(rootText.c_str()),
        const_cast<char*>(prefix.c_str()), const_cast<char*>(count.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return 0;
    return pid;
}

TEST_F(StoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    const pid_t writers[] = {startWriter(root(), "a"), startWriter(root(), "b")};
    ASSERT_NE(writers[0], 0);
    ASSERT_NE(writers[1], 0);

    // Read until both are done.
    WatchedReads reads(files);
    int running = 2;
    int statuses[2] = {0, 0};
    bool done[2] = {false, false};
    while (running > 0) {
        reads.readOnce(store.path());
        for (int i = 0; i < 2; ++i) {
            if (!done[i] && waitpid(writers[i], &statuses[i], WNOHANG) == writers[i]) {
                done[i] = true;
                --running;
            }
        }
    }
    for (int status : statuses) {
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "writes failed";
    }
    reads.expectAllWell();
    expectEveryWrite(store, kWritesEach);
    EXPECT_EQ(folderEntries(), std::set<std::string>{"Morvane.ini"});
}

}  // namespace
}  // namespace morvane::testing
