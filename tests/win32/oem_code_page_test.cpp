// The Windows program's code pages against the portable build's: under Wine's defaults (the
// code pages the scenarios give the headless program) both decode and refuse alike.
#include <gtest/gtest.h>

#include "store/sandbox_files.h"
#include "win32/win32_files.h"

namespace morvane {
namespace {

TEST(CodePages, TheSystemsAreThoseOfThePortableBuild) {
    const Win32Files system;
    const SandboxFiles portable("unused", "C:\\x.exe");
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(system.oemToUtf8(byte), portable.oemToUtf8(byte)) << "OEM byte " << b;
        EXPECT_EQ(system.ansiToUtf8(byte), portable.ansiToUtf8(byte)) << "ANSI byte " << b;
    }
    for (const char* text : {"C:\\Minería\\miner.exe", "€", "Ж", "╔═╗ Ω", "ÿ\u00A0"}) {
        std::string fromSystem, fromPortable;
        EXPECT_EQ(system.utf8ToOem(text, fromSystem), portable.utf8ToOem(text, fromPortable))
            << text;
        EXPECT_EQ(fromSystem, fromPortable) << text;
    }
}

}  // namespace
}  // namespace morvane
