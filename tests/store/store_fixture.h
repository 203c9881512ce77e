#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "store/sandbox_files.h"
#include "store/settings_store.h"

namespace morvane::testing {

// File access that can be told to fail, standing for a locked file, a read-only folder or a
// full disk.
class FaultyFiles : public SandboxFiles {
  public:
    using SandboxFiles::SandboxFiles;

    bool unreadable = false;   // the settings file exists but cannot be read
    bool failWrites = false;   // creating or writing any file fails
    bool failReplace = false;  // renaming onto a file fails
    int busyReplaces = 0;      // so many renames are blocked for the moment by another program
    int replaceTries = 0;

    ReadResult readFile(const std::string& path, std::string& bytes) const override {
        const ReadResult result = SandboxFiles::readFile(path, bytes);
        return (unreadable && result == ReadResult::Ok) ? ReadResult::Unreadable : result;
    }
    bool writeFile(const std::string& path, std::string_view bytes) override {
        if (failWrites) {
            // A full disk leaves a partial file behind.
            SandboxFiles::writeFile(path, bytes.substr(0, bytes.size() / 2));
            return false;
        }
        return SandboxFiles::writeFile(path, bytes);
    }
    ReplaceResult replaceFile(const std::string& from, const std::string& to) override {
        ++replaceTries;
        if (failReplace) return ReplaceResult::Failed;
        if (busyReplaces > 0) {
            --busyReplaces;
            return ReplaceResult::Busy;
        }
        return SandboxFiles::replaceFile(from, to);
    }
};

// A sandbox holding the folder C:\Launcher of an executable C:\Launcher\morvane.exe.
class StoreTest : public ::testing::Test {
  protected:
    StoreTest()
        : root_(std::filesystem::temp_directory_path() /
                ("morvane-store-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())),
          files(root_, "C:\\Launcher\\morvane.exe"),
          store(files) {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(files.hostPath("C:\\Launcher"));
    }
    ~StoreTest() override {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path iniPath() const { return files.hostPath("C:\\Launcher\\Morvane.ini"); }

    void putIni(const std::string& bytes) const {
        std::ofstream(iniPath(), std::ios::binary) << bytes;
    }
    std::string ini() const {
        std::ifstream in(iniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::set<std::string> folderEntries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(iniPath().parent_path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

  private:
    std::filesystem::path root_;

  protected:
    FaultyFiles files;
    SettingsStore store;
};

}  // namespace morvane::testing
