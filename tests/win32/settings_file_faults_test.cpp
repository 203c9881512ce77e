// The settings file under faults, with the real Win32 file functions: read-only and hidden
// files, links, a replace that another program blocks for a moment, and two writers at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "folder_files.h"
#include "store/concurrent_writes.h"
#include "store/settings_store.h"
#include "win32/win32_files.h"

namespace morvane {
namespace {

std::string moduleFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return folderOf(narrow(std::wstring_view(path, length)));
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widen(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = narrow(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void removeTree(const std::string& folder) {
    for (const std::string& name : entriesOf(folder)) {
        const std::wstring path = widen(folder + "\\" + name);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) {
            removeTree(folder + "\\" + name);
            RemoveDirectoryW(path.c_str());
        }
    }
    RemoveDirectoryW(widen(folder).c_str());
}

// Runs a program and returns its process handle, or nullptr.
HANDLE start(const std::string& program, const std::string& arguments) {
    std::wstring command = widen("\"" + program + "\" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(widen(program).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Where the file system puts a path after following its links.
std::string finalPath(const std::string& path) {
    HANDLE file =
        CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<none>";
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = GetFinalPathNameByHandleW(file, buffer, MAX_PATH * 2, 0);
    CloseHandle(file);
    std::string result = narrow(std::wstring_view(buffer, length));
    return result.rfind("\\\\?\\", 0) == 0 ? result.substr(4) : result;
}

// Open as a virus scanner or an editor holds a file: without sharing its deletion.
HANDLE holdWithoutDeleteSharing(const std::string& path) {
    return CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string writerProgram() { return moduleFolder() + "\\store_writer.exe"; }

class SettingsFileFaults : public ::testing::Test {
  protected:
    SettingsFileFaults() : folder(scratch()), files(folder), store(files), path(store.path()) {}
    ~SettingsFileFaults() override { removeTree(folder); }

    static std::string scratch() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::string folder = narrow(temp) + "morvane-faults-" +
                                   std::to_string(GetCurrentProcessId()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        removeTree(folder);
        CreateDirectoryW(widen(folder).c_str(), nullptr);
        return folder;
    }

    void put(std::string_view bytes) { ASSERT_TRUE(files.writeFile(path, bytes)); }
    std::string contents(const std::string& file) const {
        std::string bytes;
        files.readFile(file, bytes);
        return bytes;
    }
    // The write fails with the store's message.
    void expectRefused(const std::string& value) {
        try {
            store.writeWrapped("S", "k", value);
            ADD_FAILURE() << "the write was reported as made";
        } catch (const StoreError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
        }
    }

    std::string folder;
    testing::FolderFiles files;
    SettingsStore store;
    std::string path;
};

const std::string kBefore = "[S]\r\nk=/*old*/\r\n";

TEST_F(SettingsFileFaults, AReadOnlyFileRefusesTheWriteAndStaysAsItWas) {
    put(kBefore);
    ASSERT_TRUE(SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    expectRefused("new");
    EXPECT_EQ(contents(path), kBefore);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(GetFileAttributesW(widen(path).c_str()), attributes);
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"Morvane.ini"});
}

TEST_F(SettingsFileFaults, AHiddenFileStaysHidden) {
    put(kBefore);
    ASSERT_TRUE(SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
    store.writeWrapped("S", "k", "new");
    EXPECT_EQ(contents(path), "[S]\r\nk=/*new*/\r\n");
    EXPECT_TRUE(GetFileAttributesW(widen(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"Morvane.ini"});
}

TEST_F(SettingsFileFaults, AFolderInThePlaceOfTheFileIsNeverTakenForNoFile) {
    ASSERT_TRUE(CreateDirectoryW(widen(path).c_str(), nullptr));
    std::string bytes;
    EXPECT_EQ(files.readFile(path, bytes), FilePlatform::ReadResult::Unreadable);
    EXPECT_EQ(files.readFile(folder + "\\absent.ini", bytes), FilePlatform::ReadResult::Absent);
    EXPECT_EQ(files.readFile(folder + "\\no folder\\x.ini", bytes),
              FilePlatform::ReadResult::Absent);
    expectRefused("new");
    EXPECT_EQ(GetFileAttributesW(widen(path).c_str()), DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"Morvane.ini"});
}

TEST_F(SettingsFileFaults, AReplaceBlockedForAMomentIsTriedAgain) {
    put(kBefore);
    HANDLE holder = holdWithoutDeleteSharing(path);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::thread release([holder] {
        Sleep(300);
        CloseHandle(holder);
    });
    EXPECT_NO_THROW(store.writeWrapped("S", "k", "new"));
    release.join();
    EXPECT_EQ(contents(path), "[S]\r\nk=/*new*/\r\n");
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"Morvane.ini"});
}

TEST_F(SettingsFileFaults, AReplaceBlockedForLongFailsAndLeavesTheFileAsItWas) {
    put(kBefore);
    HANDLE holder = holdWithoutDeleteSharing(path);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    expectRefused("new");
    CloseHandle(holder);
    EXPECT_EQ(contents(path), kBefore);
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"Morvane.ini"});
}

TEST_F(SettingsFileFaults, ATemporaryFileLeftByACrashedWriterIsRemoved) {
    const std::vector<std::string> kept = {"Morvane.ini.0123abcg.tmp", "Morvane.ini.tmp",
                                           "Other.ini.0123abcd.tmp"};
    for (const std::string& name : kept) ASSERT_TRUE(files.writeFile(folder + "\\" + name, "x"));
    const std::string stale = folder + "\\Morvane.ini.0123abcd.tmp";
    ASSERT_TRUE(files.writeFile(stale, "[S]\r\nhalf"));
    ASSERT_TRUE(SetFileAttributesW(widen(stale).c_str(), FILE_ATTRIBUTE_HIDDEN));
    put(kBefore);
    store.writeWrapped("S", "k", "new");
    std::vector<std::string> expected = kept;
    expected.push_back("Morvane.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entriesOf(folder), expected);
}

// The test's set-up made Launcher\Morvane.ini a symbolic link to Shared\real.ini in this folder
// (Windows programs cannot make links under Wine).
TEST(SettingsFileLinks, ALinkIsFollowedAndItsTargetReplaced) {
    const char* fixture = std::getenv("MORVANE_LINK_FIXTURE");
    ASSERT_NE(fixture, nullptr) << "run through ctest, whose set-up makes the link";
    const std::string launcher = std::string(fixture) + "\\Launcher";
    const std::string real = std::string(fixture) + "\\Shared\\real.ini";
    testing::FolderFiles files(launcher);
    SettingsStore store(files);
    store.writeWrapped("S", "k", "linked");
    std::string bytes;
    ASSERT_EQ(files.readFile(real, bytes), FilePlatform::ReadResult::Ok);
    EXPECT_EQ(bytes, "[S]\r\nk=/*linked*/\r\n");
    EXPECT_EQ(finalPath(store.path()), real);
    EXPECT_EQ(entriesOf(launcher), std::vector<std::string>{"Morvane.ini"});
    EXPECT_EQ(entriesOf(std::string(fixture) + "\\Shared"), std::vector<std::string>{"real.ini"});
}

TEST_F(SettingsFileFaults, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kWritesEach = 500;
    const std::string arguments = "\"" + folder + "\" ";
    HANDLE writers[] = {start(writerProgram(), arguments + "a " + std::to_string(kWritesEach)),
                        start(writerProgram(), arguments + "b " + std::to_string(kWritesEach))};
    ASSERT_NE(writers[0], nullptr);
    ASSERT_NE(writers[1], nullptr);
    testing::WatchedReads reads(files);
    const ULONGLONG deadline = GetTickCount64() + 240000;
    while (WaitForMultipleObjects(2, writers, TRUE, 0) == WAIT_TIMEOUT &&
           GetTickCount64() < deadline) {
        reads.readOnce(path);
        Sleep(1);  // the writers need the processor more than this reader
    }
    for (HANDLE writer : writers) {
        DWORD status = 1;
        if (WaitForSingleObject(writer, 0) == WAIT_TIMEOUT) TerminateProcess(writer, 101);
        GetExitCodeProcess(writer, &status);
        EXPECT_EQ(status, 0u) << "writes failed";
        CloseHandle(writer);
    }
    reads.expectAllWell();
    testing::expectEveryWrite(store, kWritesEach);
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"Morvane.ini"});
}

}  // namespace
}  // namespace morvane
