// One LoadConfig on the large settings file (13 reads, the pool and token listings and the
// preview), beside its floor: 15 plain whole-file reads, since every read and listing must see
// the file as it is now.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/unit1.h"
#include "settings_workload.h"
#include "store/sandbox_files.h"

namespace morvane::bench {
namespace {

// Nothing here opens a dialog; the few a failure would open are dropped.
class QuietPlatform : public ui::PlatformOnFiles {
  public:
    using PlatformOnFiles::PlatformOnFiles;
    void showMessage(ui::MessageKind, const std::string&) override {}
    int askYesNo(const std::string&) override { return ui::kAnswerNo; }
    void showFailure(const std::string& text) override {
        std::fprintf(stderr, "failure: %s\n", text.c_str());
    }
    std::optional<std::string> pickFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> pickFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void shellOpen(const std::string&) override {}
    std::string decimalSeparator() const override { return "."; }
    std::string thousandsSeparator() const override { return ","; }
};

// Seconds per call of `work`: the best of several rounds, so a busy machine shows less.
double secondsPerCall(const std::function<void()>& work, int rounds, int calls) {
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        for (int c = 0; c < calls; ++c) work();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count() / calls);
    }
    return best;
}

int run() {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() /
        ("morvane-launch-bench-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    SandboxFiles files(root, "C:\\Launcher\\morvane.exe");
    QuietPlatform platform(files);
    SettingsStore store(files);
    std::filesystem::create_directories(files.hostPath("C:\\Launcher"));
    const std::string content = settingsFile(1000);
    std::ofstream(files.hostPath(store.path()), std::ios::binary) << content;

    int result = 1;
    {
        const std::unique_ptr<TForm1> form = startForm1(platform);
        const auto& titles = form->cbBitstreams->items();
        const auto chosen = std::find(titles.begin(), titles.end(), kBenchConfiguration);
        if (chosen != titles.end()) {
            form->cbBitstreams->userSelect(static_cast<int>(chosen - titles.begin()));
            const auto loadConfig = [&] { form->LoadConfig(form->cbBitstreams); };
            const auto rawReads = [&] {
                for (int i = 0; i < 15; ++i) {
                    std::string bytes;
                    files.readFile(store.path(), bytes);
                }
            };
            loadConfig();  // warm the file cache for both
            double load = 0;
            double raw = 0;
            // Interleaved, so both see the same machine.
            for (int pass = 0; pass < 3; ++pass) {
                const double l = secondsPerCall(loadConfig, 5, 3);
                const double r = secondsPerCall(rawReads, 5, 3);
                load = pass == 0 ? l : std::min(load, l);
                raw = pass == 0 ? r : std::min(raw, r);
            }
            std::printf("LoadConfig (13 reads, 2 listings, preview): %8.3f ms\n", load * 1e3);
            std::printf("15 raw reads of the %zu-byte file:        %8.3f ms\n", content.size(),
                        raw * 1e3);
            std::printf("LoadConfig vs raw file reads: %.2fx\n", load / raw);
            result = 0;
        } else {
            std::fprintf(stderr, "%s is not listed\n", kBenchConfiguration.c_str());
        }
    }
    std::filesystem::remove_all(root);
    return result;
}

}  // namespace
}  // namespace morvane::bench

int main() { return morvane::bench::run(); }
