// uiscript: plays scripted user sessions (*.scn) against the Morvane window.
// Usage: uiscript --backend headless|win32 [--out DIR] FILE.scn...

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/unit1.h"
#include "tools/uiscript/interpreter.h"
#include "tools/uiscript/script.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "tools/uiscript/win32_backend.h"
#include "win32/win32_files.h"
#else
#include "tools/uiscript/headless_backend.h"
#endif

namespace fs = std::filesystem;
using namespace morvane::uiscript;

namespace {

#ifdef _WIN32
constexpr const char* kBackend = "win32";
#else
constexpr const char* kBackend = "headless";
#endif

// Paths are UTF-8 inside the runner, whatever the system's code page.
fs::path hostPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::unique_ptr<Backend> makeBackend(const fs::path& folder, const fs::path& scratch) {
    const Starter startProgram = [](morvane::ui::Platform& platform) {
        return std::unique_ptr<morvane::ui::Control>(morvane::startForm1(platform));
    };
#ifdef _WIN32
    (void)scratch;
    return std::make_unique<Win32Backend>(folder, startProgram);
#else
    return std::make_unique<HeadlessBackend>(folder, scratch / "drives", startProgram);
#endif
}

// A folder of this run's own for scenarios without --out and for sandboxed drives.
fs::path makeRunFolder() {
    std::random_device random;
    for (;;) {
        std::ostringstream name;
        name << "uiscript-" << std::hex << random() << random();
        const fs::path folder = fs::temp_directory_path() / name.str();
        if (fs::create_directory(folder)) return folder;
    }
}

struct Report {
    bool passed = false;
    std::string text;
};

Report runFile(const std::string& file, const fs::path& out, const fs::path& run) {
    const fs::path source = hostPath(file);
    const std::string name = utf8(source.stem());
    std::ostringstream report;
    const auto failed = [&](int line, const std::string& command, const std::string& reason,
                            const std::vector<std::pair<std::string, std::string>>& details) {
        report << "FAIL " << name << "\n  " << file;
        if (line > 0) report << ":" << line << ": " << command;
        report << "\n";
        size_t width = 0;
        for (const auto& [label, value] : details) width = std::max(width, label.size());
        if (!reason.empty()) report << "    " << reason << "\n";
        for (const auto& [label, value] : details) {
            report << "    " << label << ":" << std::string(width - label.size() + 1, ' ') << value
                   << "\n";
        }
        return Report{false, report.str()};
    };

    std::ifstream in(source, std::ios::binary);
    if (!in) return failed(0, "", "cannot read the scenario", {});
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<Command> commands;
    try {
        commands = parseScript(text);
    } catch (const ParseError& error) {
        return failed(error.line, error.source, std::string("syntax: ") + error.what(), {});
    }

    fs::path folder;
    if (!out.empty()) {
        folder = out / hostPath(name);
        fs::remove_all(folder);
    } else {
        folder = run / hostPath(name);
        for (int n = 2; fs::exists(folder); ++n)
            folder = run / hostPath(name + "-" + std::to_string(n));
    }
    fs::create_directories(folder);
    const fs::path scratch = run / hostPath(".scratch-" + utf8(folder.filename()));
    fs::create_directories(scratch);

    Outcome outcome;
    {
        const std::unique_ptr<Backend> backend = makeBackend(fs::absolute(folder), scratch);
        outcome = runScenario(commands, *backend, out.empty() ? folder : out);
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    if (out.empty()) fs::remove_all(folder, ignored);
    if (outcome.passed) return {true, "PASS " + name + "\n"};
    return failed(outcome.line, outcome.source, outcome.reason, outcome.details);
}

int run(const std::vector<std::string>& args) {
    std::string backend;
    std::string out;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--backend" && i + 1 < args.size()) {
            backend = args[++i];
        } else if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i].starts_with("--")) {
            files.clear();
            break;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty() || backend.empty()) {
        print("usage: uiscript --backend headless|win32 [--out DIR] FILE.scn...\n");
        return 2;
    }
    if (backend != kBackend) {
        print("this build of uiscript plays on the " + std::string(kBackend) +
              " backend only, not " + backend + "\n");
        return 2;
    }

    const fs::path runFolder = makeRunFolder();
    const fs::path outFolder = out.empty() ? fs::path() : fs::absolute(hostPath(out));
    int passed = 0;
    int failed = 0;
    for (const std::string& file : files) {
        Report report;
        try {
            report = runFile(file, outFolder, runFolder);
        } catch (const std::exception& error) {  // the scenario's folder, most likely
            report = {false, "FAIL " + file + "\n    " + error.what() + "\n"};
        }
        print(report.text);
        std::fflush(stdout);
        ++(report.passed ? passed : failed);
    }
    std::error_code ignored;
    fs::remove_all(runFolder, ignored);
    print(std::to_string(passed) + " passed, " + std::to_string(failed) + " failed\n");
    return failed == 0 ? 0 : 1;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // "\n" stays "\n" for whoever reads the report
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(morvane::narrow(argv[i]));
    return run(args);
}
#else
int main(int argc, char** argv) { return run({argv + 1, argv + argc}); }
#endif
