// Stands for the loader and the miner that generated scripts start: it writes down how it was
// started (its arguments, its exact command line, its console's title and the titles of the
// consoles of the processes above it) as one line of a shared log, then runs for a while and
// exits, as a miner that fails would.
//   MORVANE_FAKE_LOG  the log (default: this program's path + ".log")
//   MORVANE_FAKE_MS   how long it runs, in milliseconds (default 1000)
#include <windows.h>
// tlhelp32.h needs windows.h before it.
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "fake_log.h"

namespace {

DWORD parentOf(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == pid) {
            parent = entry.th32ParentProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return parent;
}

std::wstring consoleTitle() {
    wchar_t title[1024] = {};
    const DWORD length = GetConsoleTitleW(title, 1024);
    return std::wstring(title, length);
}

// The titles of the consoles the ancestors run in, nearest first ("-" where one has none).
// Attaching to another console detaches this process from its own, so this comes last.
std::wstring ancestorTitles() {
    std::wstring titles;
    DWORD pid = GetCurrentProcessId();
    for (int depth = 0; depth < 6; ++depth) {
        pid = parentOf(pid);
        if (pid == 0) break;
        FreeConsole();
        const std::wstring title = AttachConsole(pid) ? consoleTitle() : L"-";
        if (!titles.empty()) titles += L"|";
        titles += title;
    }
    FreeConsole();
    return titles;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring name = self;
    name = name.substr(name.find_last_of(L'\\') + 1);
    std::wstring args;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) args += L'\x1F';
        args += argv[i];
    }
    const std::wstring title = consoleTitle();
    const std::wstring ancestors = ancestorTitles();
    fake::appendLog(self, L"start\t" + name + L"\tpid=" + std::to_wstring(GetCurrentProcessId()) +
                              L"\tcmdline=" + GetCommandLineW() + L"\ttitle=" + title +
                              L"\tancestors=" + ancestors + L"\targs=" + args);
    Sleep(fake::numberFromEnvironment(L"MORVANE_FAKE_MS", 1000));
    return 0;
}
