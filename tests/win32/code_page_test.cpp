// The settings file in a multi-byte ANSI code page, with the system's own conversions under
// Wine: 932 in a prefix with a Japanese locale, 65001 through the manifest of the program.
#include <gtest/gtest.h>
#include <windows.h>

#include "folder_files.h"
#include "store/code_page_cases.h"
#include "win32/win32_files.h"

namespace morvane {
namespace {

TEST(CodePage, TheSystemHasTheCodePageOfThisTest) {
    EXPECT_EQ(GetACP(), UINT{MORVANE_CODE_PAGE});
    EXPECT_FALSE(Win32Files().ansiIsSingleByte());
}

TEST(CodePage, LinesNotWrittenKeepTheirBytes) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string folder =
        narrow(temp) + "morvane-codepage-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(widen(folder).c_str(), nullptr);
    testing::FolderFiles files(folder);
    testing::checkCodePageCases(files, MORVANE_CODE_PAGE);
    RemoveDirectoryW(widen(folder).c_str());
}

}  // namespace
}  // namespace morvane
