// One LoadConfig on the large settings file (13 reads, the pool and token listings and the
// preview), beside its floor: 15 plain whole-file reads, since every read and listing must see
// the file as it is now. Then one launch of 100 instances in the separate-instances mode (101
// scripts written, the output page's 100 tabs and memos filled), beside plain writes of the same
// 101 files' bytes.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

// One "Launch Miner" of the configuration chosen, with a pool configuration and 100 instances.
void generationVsWrites(TForm1& form, SandboxFiles& files) {
    form.cbChoosePoolConfig->userSelect(0);
    form.chkbxLoadBitstream->setChecked(true);
    form.SpinBox1->setValue(100);
    const auto generation = [&] { form.RunCmd(form.Button4); };
    generation();
    std::vector<std::pair<std::string, std::string>> scripts;
    const auto add = [&](const std::string& path) {
        std::string bytes;
        files.readFile(path, bytes);
        scripts.emplace_back(path, bytes);
    };
    add(sLaunchFileName);
    for (int tab = 1; tab < form.TabControl2->count(); ++tab) {
        add("C:\\Launcher\\" + form.TabControl2->page(tab)->caption());
    }
    const auto rawWrites = [&] {
        for (const auto& [path, bytes] : scripts) files.writeFile(path, bytes);
    };
    // Replacing a file that is still being written out waits for it (ext4 flushes a file that
    // was truncated and written again): each turn starts with everything on disk, as a launch
    // minutes after the last one does. Many short turns in alternation, the best of each.
    double launch = 1e30;
    double raw = 1e30;
    for (int turn = 0; turn < 25; ++turn) {
        ::sync();
        raw = std::min(raw, secondsPerCall(rawWrites, 1, 1));
        ::sync();
        launch = std::min(launch, secondsPerCall(generation, 1, 1));
    }
    std::printf("Launch of 100 instances (%zu scripts, 100 tabs): %8.3f ms\n", scripts.size(),
                launch * 1e3);
    std::printf("%zu raw writes of the same bytes:            %8.3f ms\n", scripts.size(),
                raw * 1e3);
    std::printf("generation vs raw file writes: %.2fx\n", launch / raw);
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
            generationVsWrites(*form, files);
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
