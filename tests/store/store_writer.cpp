// One of the writers of the two-process test: writes keys "<prefix>0" ... "<prefix>N-1" of
// section "S" of the settings file, each with the value "v" + its number, and reports every
// write that fails. The exit status is the number of failed writes (at most 100).
//   store_writer FOLDER PREFIX COUNT
// FOLDER is the executable's folder the store works in: natively the host folder of a sandbox
// whose executable is C:\Launcher\morvane.exe, on Windows a Windows folder.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "store/settings_store.h"

#ifdef _WIN32
#include "../win32/folder_files.h"

namespace {
morvane::testing::FolderFiles makeFiles(const char* folder) {
    return morvane::testing::FolderFiles(folder);
}
}  // namespace
#else
#include "store/sandbox_files.h"

namespace {
morvane::SandboxFiles makeFiles(const char* root) {
    return morvane::SandboxFiles(root, "C:\\Launcher\\morvane.exe");
}
}  // namespace
#endif

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: store_writer FOLDER PREFIX COUNT\n");
        return 100;
    }
    auto files = makeFiles(argv[1]);
    morvane::SettingsStore store(files);
    const std::string prefix = argv[2];
    const int count = std::atoi(argv[3]);
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        try {
            store.write("S", prefix + std::to_string(i), "v" + std::to_string(i));
        } catch (const morvane::StoreError& e) {
            std::fprintf(stderr, "%s%d: %s\n", prefix.c_str(), i, e.what());
            ++failures;
        }
    }
    return failures > 100 ? 100 : failures;
}
