// Settings store speed on a large settings file, beside the floor of plain whole-file reads.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "settings_workload.h"
#include "store/sandbox_files.h"

namespace morvane::bench {
namespace {

// Every line end a lone CR, as some editors save.
std::string withCrLineEnds(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += text[i] == '\n' ? '\r' : text[i];
    }
    return out;
}

struct Sandbox {
    explicit Sandbox(std::string text)
        : root(std::filesystem::temp_directory_path() /
               ("morvane-bench-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))),
          files(root, "C:\\Launcher\\morvane.exe"),
          store(files),
          content(std::move(text)) {
        std::filesystem::create_directories(files.hostPath("C:\\Launcher"));
        reset();
    }
    ~Sandbox() { std::filesystem::remove_all(root); }
    void reset() { std::ofstream(files.hostPath(store.path()), std::ios::binary) << content; }

    std::filesystem::path root;
    SandboxFiles files;
    SettingsStore store;
    std::string content;
};

Sandbox& sandbox() {
    static Sandbox instance(settingsFile(1000));
    return instance;
}

Sandbox& crSandbox() {
    static Sandbox instance(withCrLineEnds(settingsFile(1000)));
    return instance;
}

void readConfiguration(benchmark::State& state, Sandbox& s) {
    for (auto _ : state) benchmark::DoNotOptimize(loadConfiguration(s.store));
    state.SetBytesProcessed(state.iterations() * 13 * static_cast<int64_t>(s.content.size()));
}

void StoreReads(benchmark::State& state) { readConfiguration(state, sandbox()); }

// The same file with lone CRs for line ends.
void StoreReadsCrLineEnds(benchmark::State& state) {
    auto& s = crSandbox();
    if (s.store.readWrapped(kBenchConfiguration, "Voltage", "") != "0.75") {
        state.SkipWithError("the CR file does not read as the CR LF one");
        return;
    }
    readConfiguration(state, s);
}

void RawFileReads(benchmark::State& state) {
    auto& s = sandbox();
    const std::string path = s.store.path();
    for (auto _ : state) {
        for (int i = 0; i < 13; ++i) {
            std::string bytes;
            s.files.readFile(path, bytes);
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * 13 * static_cast<int64_t>(s.content.size()));
}

void PoolSave(benchmark::State& state) {
    auto& s = sandbox();
    int round = 0;
    for (auto _ : state) savePoolConfiguration(s.store, ++round);
    s.reset();
}

BENCHMARK(StoreReads)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreReadsCrLineEnds)->Unit(benchmark::kMillisecond);
BENCHMARK(RawFileReads)->Unit(benchmark::kMillisecond);
BENCHMARK(PoolSave)->Unit(benchmark::kMillisecond);

// Prints as usual and keeps each benchmark's time per iteration for the closing comparison.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    RecordingReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuTimes[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
    }
    std::map<std::string, double> times;
    std::map<std::string, double> cpuTimes;
};

}  // namespace
}  // namespace morvane::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const auto& s = morvane::bench::sandbox();
    std::printf(
        "settings file: %zu bytes, 1000 configurations with 3 pool and 2 token "
        "configurations each\n",
        s.content.size());
    morvane::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double store = reporter.times["StoreReads"];
    const double raw = reporter.times["RawFileReads"];
    // Processor time: both read the same amount, and the line splitting is what is compared,
    // not what other programs on the machine do meanwhile.
    const double lfCpu = reporter.cpuTimes["StoreReads"];
    const double crCpu = reporter.cpuTimes["StoreReadsCrLineEnds"];
    if (lfCpu > 0) std::printf("CR line ends vs LF reads: %.2fx\n", crCpu / lfCpu);
    // The store's comparison stays the last line.
    if (raw > 0) std::printf("store reads vs raw file reads: %.2fx\n", store / raw);
    return 0;
}
