#pragma once

// The reader's side of the two-process tests: two store_writer processes write the keys
// "a0".."a<N-1>" and "b0".."b<N-1>" of section "S" while the test reads the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "store/profile_text.h"
#include "store/settings_store.h"

namespace morvane::testing {

// What the reader saw: once the file exists it must never go missing, be empty or cut, and the
// number of its entries must never go down.
class WatchedReads {
  public:
    explicit WatchedReads(const FilePlatform& files) : files_(files) {}

    void readOnce(const std::string& path) {
        std::string bytes;
        const auto result = files_.readFile(path, bytes);
        if (result != FilePlatform::ReadResult::Ok) {
            if (seen_)
                bad(result == FilePlatform::ReadResult::Absent ? "<absent>" : "<unreadable>");
            return;
        }
        const size_t now = ProfileText(bytes, files_).list("S").size();
        const bool whole = bytes.size() >= 5 && bytes.compare(0, 5, "[S]\r\n") == 0 &&
                           bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
        if (!whole || now < entries_) bad(bytes.substr(0, 200));
        entries_ = std::max(entries_, now);
        seen_ = true;
        ++reads_;
    }

    void expectAllWell() const {
        EXPECT_EQ(badReads_, 0) << "first bad read: " << firstBad_;
        EXPECT_GT(reads_, 20) << "the file was hardly read while it was written";
    }

  private:
    void bad(std::string what) {
        if (badReads_++ == 0) firstBad_ = std::move(what);
    }

    const FilePlatform& files_;
    bool seen_ = false;
    size_t entries_ = 0;
    int reads_ = 0;
    int badReads_ = 0;
    std::string firstBad_;
};

// Every write of both writers is in the file.
inline void expectEveryWrite(const SettingsStore& store, int writesEach) {
    EXPECT_EQ(store.list("S").size(), 2u * static_cast<size_t>(writesEach));
    int lost = 0;
    for (const char* prefix : {"a", "b"}) {
        for (int i = 0; i < writesEach; ++i) {
            if (store.read("S", prefix + std::to_string(i), "") != "v" + std::to_string(i)) ++lost;
        }
    }
    EXPECT_EQ(lost, 0) << "writes lost";
}

}  // namespace morvane::testing
