// Settings store speed under Wine, beside plain file reads and the platform's profile functions.
#include <windows.h>

#include <cstdio>
#include <functional>

#include "settings_workload.h"
#include "win32/win32_files.h"

namespace morvane::bench {
namespace {

class BenchFiles : public Win32Files {
  public:
    explicit BenchFiles(std::string folder) : folder_(std::move(folder)) {}
    std::string executablePath() const override { return folder_ + "\\morvane.exe"; }

  private:
    std::string folder_;
};

// Milliseconds per round, over enough rounds to take about a second.
double timeRounds(const std::function<void(int)>& round) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    int rounds = 0;
    QueryPerformanceCounter(&start);
    do {
        round(rounds++);
        QueryPerformanceCounter(&now);
    } while (now.QuadPart - start.QuadPart < frequency.QuadPart || rounds < 5);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / rounds;
}

}  // namespace
}  // namespace morvane::bench

int main() {
    using namespace morvane;
    using namespace morvane::bench;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string folder =
        narrow(temp) + "morvane-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(widen(folder).c_str(), nullptr);
    BenchFiles files(folder);
    SettingsStore store(files);
    const std::string path = store.path();
    const std::wstring widePath = widen(path);
    const std::string content = settingsFile(1000);
    files.writeFile(path, content);
    std::printf("settings file: %zu bytes\n", content.size());

    size_t sink = 0;
    const double storeReads = timeRounds([&](int) { sink += loadConfiguration(store); });
    const double rawReads = timeRounds([&](int) {
        for (int i = 0; i < 13; ++i) {
            std::string bytes;
            files.readFile(path, bytes);
            sink += bytes.size();
        }
    });
    const double platformReads = timeRounds([&](int) {
        wchar_t buffer[4096];
        for (const auto& [key, fallback] : kConfigurationReads) {
            sink +=
                GetPrivateProfileStringW(widen(kBenchConfiguration).c_str(), widen(key).c_str(),
                                         widen(fallback).c_str(), buffer, 4096, widePath.c_str());
        }
    });
    const double storeSave = timeRounds([&](int round) { savePoolConfiguration(store, round); });
    files.writeFile(path, content);
    const double platformSave = timeRounds([&](int round) {
        const std::wstring section = widen(kBenchConfiguration + "Pool2");
        const auto put = [&](const std::wstring& s, const wchar_t* k, const std::string& v) {
            WritePrivateProfileStringW(s.c_str(), k, widen(v).c_str(), widePath.c_str());
        };
        put(widen(poolListSection(kBenchConfiguration)), L"ID2", "Pool2");
        put(section, L"Config Title", "Pool2");
        put(section, L"Pool URL", wrapValue("stratum+tcp://pool" + std::to_string(round)));
        put(section, L"Pool Port", wrapValue(":3333"));
        put(section, L"Pool Wallet", wrapValue("0xfeedfacefeedfacefeedfacefeedfacefeedface"));
        put(section, L"Pool Rig Name", wrapValue(".rig"));
    });
    DeleteFileW(widePath.c_str());
    RemoveDirectoryW(widen(folder).c_str());

    std::printf("store: 13 reads loading one configuration   %8.3f ms\n", storeReads);
    std::printf("floor: 13 whole-file reads                  %8.3f ms\n", rawReads);
    std::printf("platform: the same 13 reads                 %8.3f ms\n", platformReads);
    std::printf("store: save of a pool configuration          %8.3f ms\n", storeSave);
    std::printf("platform: the same save                     %8.3f ms\n", platformSave);
    std::printf("store reads vs raw file reads (Wine): %.2fx\n", storeReads / rawReads);
    return sink == 0 ? 1 : 0;
}
