// Start-up time and memory of morvane.exe under Wine, against two bare windows of the project's
// own. Each program is started in turn, timed from its process start until its main window is
// shown and the program waits for input, its peak working set read, and then closed with
// WM_CLOSE. The programs get no argument and no environment of their own.
// Usage: startup_bench BARE_WINDOW BARE_WINDOW_WITH_DLLS MORVANE
#include <windows.h>
// psapi.h needs windows.h before it.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "settings_workload.h"
#include "win32/win32_files.h"

namespace {

constexpr int kRounds = 25;

struct Run {
    double milliseconds = 0;
    double mebibytes = 0;
};

struct Found {
    DWORD process;
    HWND window;
};

BOOL CALLBACK findShownWindow(HWND hwnd, LPARAM param) {
    auto& found = *reinterpret_cast<Found*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != found.process || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER)) {
        return TRUE;
    }
    found.window = hwnd;
    return FALSE;
}

double now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

Run startOnce(const std::wstring& program) {
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls\n", program.c_str());
        std::exit(1);
    }
    Found found{process.dwProcessId, nullptr};
    for (int attempt = 0; !found.window; ++attempt) {
        WaitForInputIdle(process.hProcess, 30000);
        EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&found));
        if (!found.window) {
            if (attempt > 30000 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
                std::fprintf(stderr, "%ls showed no window\n", program.c_str());
                std::exit(1);
            }
            Sleep(1);
        }
    }
    Run run;
    run.milliseconds = now() - start;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
        run.mebibytes = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    }
    PostMessageW(found.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// morvane.exe copied into a folder of its own, with the settings file beside it or none.
std::wstring placeMorvane(const std::wstring& morvane, const std::wstring& folder,
                          const std::string& settings) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\morvane.exe";
    const std::wstring ini = folder + L"\\Morvane.ini";
    DeleteFileW(ini.c_str());
    if (!CopyFileW(morvane.c_str(), copy.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %ls\n", morvane.c_str());
        std::exit(1);
    }
    if (!settings.empty()) {
        HANDLE file = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, settings.data(), static_cast<DWORD>(settings.size()), &written, nullptr);
        CloseHandle(file);
    }
    return copy;
}

void removeMorvane(const std::wstring& folder) {
    DeleteFileW((folder + L"\\Morvane.ini").c_str());
    DeleteFileW((folder + L"\\morvane.exe").c_str());
    RemoveDirectoryW(folder.c_str());
}

std::wstring fullPath(const wchar_t* path) {
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path, MAX_PATH, full, nullptr);
    return full;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_bench BARE_WINDOW BARE_WINDOW_WITH_DLLS MORVANE\n");
        return 2;
    }
    const std::wstring bare = fullPath(argv[1]);
    const std::wstring bareWithDlls = fullPath(argv[2]);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base =
        std::wstring(temp) + L"morvane-startup-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(base.c_str(), nullptr);
    const std::wstring emptyFolder = base + L"\\empty";
    const std::wstring fullFolder = base + L"\\full";
    const std::wstring morvane = fullPath(argv[3]);
    const std::wstring empty = placeMorvane(morvane, emptyFolder, {});
    const std::wstring full = placeMorvane(morvane, fullFolder, morvane::bench::settingsFile(1000));

    // One warm-up start of each, so the first timed round finds the same caches as the rest.
    for (const std::wstring* program : {&bare, &bareWithDlls, &empty, &full}) startOnce(*program);

    std::vector<double> startRatio, fullRatio, memoryRatio;
    std::vector<double> bareMs, dllsMs, emptyMs, fullMs, bareMiB, dllsMiB, emptyMiB, fullMiB;
    for (int round = 0; round < kRounds; ++round) {
        // Every other round the other way round, so a load that builds up or fades on the
        // machine weighs on all four alike.
        Run b, d, e, f;
        if (round % 2 == 0) {
            b = startOnce(bare);
            d = startOnce(bareWithDlls);
            e = startOnce(empty);
            f = startOnce(full);
        } else {
            f = startOnce(full);
            e = startOnce(empty);
            d = startOnce(bareWithDlls);
            b = startOnce(bare);
        }
        startRatio.push_back(e.milliseconds / b.milliseconds);
        fullRatio.push_back(f.milliseconds / e.milliseconds);
        memoryRatio.push_back(e.mebibytes / d.mebibytes);
        bareMs.push_back(b.milliseconds);
        dllsMs.push_back(d.milliseconds);
        emptyMs.push_back(e.milliseconds);
        fullMs.push_back(f.milliseconds);
        bareMiB.push_back(b.mebibytes);
        dllsMiB.push_back(d.mebibytes);
        emptyMiB.push_back(e.mebibytes);
        fullMiB.push_back(f.mebibytes);
    }
    removeMorvane(emptyFolder);
    removeMorvane(fullFolder);
    RemoveDirectoryW(base.c_str());

    std::printf("start-up to the shown, idle window, median of %d paired runs (Wine):\n", kRounds);
    std::printf("  bare window                       %7.1f ms %6.1f MiB\n", median(bareMs),
                median(bareMiB));
    std::printf("  bare window with Morvane's DLLs   %7.1f ms %6.1f MiB\n", median(dllsMs),
                median(dllsMiB));
    std::printf("  morvane.exe, no settings file     %7.1f ms %6.1f MiB\n", median(emptyMs),
                median(emptyMiB));
    std::printf("  morvane.exe, 1,000 configurations %7.1f ms %6.1f MiB\n", median(fullMs),
                median(fullMiB));
    std::printf("start-up vs bare window: %.2fx\n", median(startRatio));
    std::printf("start-up with 1,000 configurations vs empty: %.2fx\n", median(fullRatio));
    std::printf("memory vs bare window with the same DLLs: %.2fx\n", median(memoryRatio));
    return 0;
}
