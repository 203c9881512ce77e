// TIMEOUT for a Wine prefix that lacks it: "TIMEOUT /T n [/NOBREAK]" waits n seconds, each
// MORVANE_TIMEOUT_MS_PER_SECOND milliseconds long (default 1000, a real second), so tests can
// run scripts faster. With MORVANE_FAKE_LOG set it notes the end of every wait there.
#include <windows.h>

#include <cwchar>
#include <string>

#include "fake_log.h"

int wmain(int argc, wchar_t** argv) {
    long seconds = -1;
    for (int i = 1; i < argc; ++i) {
        if ((_wcsicmp(argv[i], L"/T") == 0 || _wcsicmp(argv[i], L"-T") == 0) && i + 1 < argc) {
            seconds = wcstol(argv[++i], nullptr, 10);
        }
    }
    if (seconds < 0) {
        fwprintf(stderr, L"ERROR: Invalid syntax. Use TIMEOUT /T seconds.\n");
        return 1;
    }
    const DWORD scale = fake::numberFromEnvironment(L"MORVANE_TIMEOUT_MS_PER_SECOND", 1000);
    wprintf(L"\nWaiting for %ld seconds\n", seconds);
    Sleep(static_cast<DWORD>(seconds) * scale);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t log[8] = {};
    if (GetEnvironmentVariableW(L"MORVANE_FAKE_LOG", log, 8)) {
        fake::appendLog(self, L"timeout\tseconds=" + std::to_wstring(seconds));
    }
    return 0;
}
