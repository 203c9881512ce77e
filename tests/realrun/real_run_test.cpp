// The scripts run for real: the program's own launch writes them into C:\Launcher of a Wine
// prefix of these tests' own, Wine's cmd.exe runs them, and fake loader and miner programs
// write down how they were started. Every run is bounded in time and ended with its job (the
// shell's run, which no job holds, ends by itself; the wrapper script ends the prefix after).
// No miner path here is quoted: Wine's START does not run CMD /C ""C:\My Rigs\m.exe" x" (a
// quoted path inside the quoted command), which Windows runs; the scripts are not bent to it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../launch/worked_example.h"
#include "app/unit1.h"
#include "toolkit/dispatch.h"
#include "win32/win32_files.h"
#include "win32/win32_platform.h"

namespace morvane {
namespace {

using Lines = std::vector<std::string>;

const char* const kLog = "C:\\Mining\\runs.log";

const std::string kSettings =
    "[Configuration Titles]\r\nID1=Rig A\r\n" + testing::kWorkedExampleRecords;

// The Windows program's Platform as it runs from C:\Launcher, with the real shell; messages are
// written down instead of shown.
class LauncherPlatform : public win32::Win32Platform {
  public:
    Lines dialogs;
    std::string executablePath() const override { return "C:\\Launcher\\morvane.exe"; }
    void showMessage(ui::MessageKind, const std::string& text) override { dialogs.push_back(text); }
    int askYesNo(const std::string& text) override {
        dialogs.push_back(text);
        return ui::kAnswerNo;
    }
    void showFailure(const std::string& text) override { dialogs.push_back("failure: " + text); }
};

// One line of the fakes' log: a start of the loader or the miner, or the end of a TIMEOUT.
struct Entry {
    std::string kind;  // "start" or "timeout"
    std::string exe;   // the started program's file name
    std::string cmdline, title, ancestors, seconds;
    Lines args;
};

Lines split(const std::string& text, char separator) {
    Lines parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<Entry> readLog() {
    std::string bytes;
    Win32Files().readFile(kLog, bytes);
    std::vector<Entry> entries;
    for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const Lines fields = split(bytes.substr(start, end - start), '\t');
        Entry entry;
        entry.kind = fields[0];
        for (size_t i = 1; i < fields.size(); ++i) {
            const size_t equals = fields[i].find('=');
            if (equals == std::string::npos) {
                entry.exe = fields[i];
                continue;
            }
            const std::string key = fields[i].substr(0, equals);
            const std::string value = fields[i].substr(equals + 1);
            if (key == "cmdline") entry.cmdline = value;
            if (key == "title") entry.title = value;
            if (key == "ancestors") entry.ancestors = value;
            if (key == "seconds") entry.seconds = value;
            if (key == "args") entry.args = split(value, '\x1F');
        }
        entries.push_back(entry);
    }
    return entries;
}

// The title of the first console above the program's own: the loop console for a miner that a
// loop file started.
std::string consoleAbove(const Entry& entry) {
    for (const std::string& title : split(entry.ancestors, '|')) {
        if (title != entry.title && title != "-") return title;
    }
    return "";
}

std::vector<Entry> startsOf(const std::vector<Entry>& log, const std::string& cmdline) {
    std::vector<Entry> starts;
    for (const Entry& entry : log) {
        if (entry.kind == "start" && entry.cmdline == cmdline) starts.push_back(entry);
    }
    return starts;
}

std::wstring folderOfThisProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

void emptyFolder(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

class RealRun : public ::testing::Test {
  protected:
    RealRun() {
        const std::wstring built = folderOfThisProgram();
        for (const wchar_t* folder : {L"C:\\Launcher", L"C:\\Mining", L"C:\\Minería"}) {
            emptyFolder(folder);
        }
        for (const wchar_t* fake :
             {L"C:\\Mining\\miner.exe", L"C:\\Mining\\NextJTag.exe", L"C:\\Minería\\miner.exe"}) {
            EXPECT_TRUE(CopyFileW((built + L"\\fake_program.exe").c_str(), fake, FALSE));
        }
        // Wine has no TIMEOUT of its own.
        EXPECT_TRUE(CopyFileW((built + L"\\timeout.exe").c_str(),
                              L"C:\\windows\\system32\\timeout.exe", FALSE));
        SetEnvironmentVariableW(L"MORVANE_FAKE_LOG", widen(kLog).c_str());
        SetEnvironmentVariableW(L"MORVANE_FAKE_MS", L"300");
        SetEnvironmentVariableW(L"MORVANE_TIMEOUT_MS_PER_SECOND", L"100");
        EXPECT_TRUE(Win32Files().writeFile("C:\\Launcher\\Morvane.ini", kSettings));
        form = startForm1(platform);
    }

    ~RealRun() override {
        if (job) {
            TerminateJobObject(job, 1);
            CloseHandle(job);
        }
        if (master) CloseHandle(master);
    }

    void act(const std::function<void()>& action) { ui::dispatch(platform, action); }

    // The user chooses the worked example, changes what `adjust` changes and launches.
    void launch(const std::function<void(TForm1&)>& adjust = {}) {
        act([&] { form->cbBitstreams->userSelect(0); });
        act([&] { form->cbChoosePoolConfig->userSelect(0); });
        act([&] { form->chkbxLoadBitstream->userClick(); });
        if (adjust) act([&] { adjust(*form); });
        act([&] { form->Button4->userClick(); });
        ASSERT_EQ(platform.dialogs, Lines{});
        ASSERT_EQ(form->TabControl1->tabIndex(), 4);
    }

    // Runs the master file with cmd.exe in a console of its own, inside a job that ends
    // everything it starts.
    void runMaster() {
        job = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        std::wstring command = L"cmd.exe /c \"" + widen(sLaunchFileName) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED | CREATE_NEW_CONSOLE, nullptr, nullptr,
                                   &startup, &process));
        AssignProcessToJobObject(job, process.hProcess);
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);
        master = process.hProcess;
    }

    // Waits until the log satisfies `done`, for a minute at most.
    std::vector<Entry> waitFor(const std::function<bool(const std::vector<Entry>&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::vector<Entry> log = readLog();
        while (!done(log) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            log = readLog();
        }
        return log;
    }

    LauncherPlatform platform;
    std::unique_ptr<TForm1> form;
    HANDLE job = nullptr;
    HANDLE master = nullptr;
};

const std::string kLoader =
    "C:\\Mining\\NextJTag.exe -m -a --set_voltage=0.75 -b C:\\Mining\\bits.bit";

std::string minerLine(const std::string& rig) {
    return "C:\\Mining\\miner.exe -t 2 -o poolhost:8333 -u mywallet.rig" + rig;
}

TEST_F(RealRun, SeparateInstancesRunEachMinerInALoopConsoleAndRestartIt) {
    launch();
    runMaster();
    const auto log = waitFor([](const std::vector<Entry>& entries) {
        return startsOf(entries, minerLine("11")).size() >= 3 &&
               startsOf(entries, minerLine("12")).size() >= 3;
    });

    const auto loader = startsOf(log, kLoader);
    ASSERT_EQ(loader.size(), 1u);
    EXPECT_EQ(loader[0].exe, "NextJTag.exe");
    EXPECT_EQ(loader[0].args,
              (Lines{"-m", "-a", "--set_voltage=0.75", "-b", "C:\\Mining\\bits.bit"}));
    EXPECT_EQ(log.front().cmdline, kLoader);  // before any miner
    for (const std::string rig : {"11", "12"}) {
        const auto starts = startsOf(log, minerLine(rig));
        ASSERT_GE(starts.size(), 3u) << "rig " << rig << " was not started again twice";
        for (const Entry& start : starts) {
            EXPECT_EQ(start.exe, "miner.exe");
            EXPECT_EQ(start.args,
                      (Lines{"-t", "2", "-o", "poolhost:8333", "-u", "mywallet.rig" + rig}));
            EXPECT_EQ(start.title, "FPGA" + rig);
            EXPECT_EQ(consoleAbove(start), "MyPool-" + rig + ".cmd") << start.ancestors;
        }
    }
    for (const Entry& entry : log) {
        EXPECT_TRUE(entry.kind == "timeout" || entry.cmdline == kLoader ||
                    entry.cmdline == minerLine("11") || entry.cmdline == minerLine("12"))
            << entry.cmdline;
    }
}

// Instances 1 to the count, a TIMEOUT between two starts and none after the last, no restart.
// Only what the script orders is checked: a miner writes its line whenever it has started, so
// the one started first may write after the wait that follows its start.
TEST_F(RealRun, OneWindowStartsTheInstancesInTurnWithTheDelayBetween) {
    launch([](TForm1& f) {
        f.chkbSeperateFilesRun->userClick();
        f.SpinBox1->setText("3");
    });
    runMaster();
    ASSERT_EQ(WaitForSingleObject(master, 60000), WAIT_OBJECT_0) << "the master file never ended";
    const auto log = waitFor([](const std::vector<Entry>& entries) {
        return startsOf(entries, minerLine("1")).size() + startsOf(entries, minerLine("2")).size() +
                   startsOf(entries, minerLine("3")).size() ==
               3;
    });

    EXPECT_EQ(log.front().cmdline, kLoader);
    std::vector<size_t> timeouts;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].kind == "timeout") {
            EXPECT_EQ(log[i].seconds, "5");
            timeouts.push_back(i);
        }
    }
    ASSERT_EQ(timeouts.size(), 2u);
    size_t miners = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].exe != "miner.exe") continue;
        ++miners;
        if (!log[i].title.starts_with("FPGA")) {
            ADD_FAILURE() << "a miner under the title " << log[i].title;
            continue;
        }
        const std::string instance = log[i].title.substr(4);
        EXPECT_EQ(log[i].cmdline, minerLine(instance));
        // Instance n starts after the (n - 1)th wait has ended.
        if (instance == "2" || instance == "3") {
            EXPECT_GT(i, timeouts[std::stoul(instance) - 2]) << "FPGA" << instance;
        }
    }
    EXPECT_EQ(miners, 3u);
}

// A loop file holds the path in the OEM code page, the one cmd.exe reads it in.
TEST_F(RealRun, ANonAsciiMinerPathStartsWithTheExactCommandLine) {
    launch([](TForm1& f) {
        f.edMinerRun->setText("C:\\Minería\\miner.exe");
        f.SpinBox1->setText("1");
    });
    runMaster();
    const std::string line = "C:\\Minería\\miner.exe -t 2 -o poolhost:8333 -u mywallet.rig11";
    const auto log = waitFor(
        [&](const std::vector<Entry>& entries) { return startsOf(entries, line).size() >= 2; });
    const auto starts = startsOf(log, line);
    ASSERT_GE(starts.size(), 2u);
    EXPECT_EQ(starts[0].title, "FPGA11");
    EXPECT_EQ(consoleAbove(starts[0]), "MyPool-11.cmd");
}

// "Launch Master File" through the shell: the loader's line shows the master file ran. The
// script ends by itself (one window, one instance).
TEST_F(RealRun, LaunchMasterFileRunsItThroughTheShell) {
    launch([](TForm1& f) {
        f.chkbSeperateFilesRun->userClick();
        f.rbUseOneFpga->userClick();
        f.SpinBox1->setText("1");
    });
    act([&] { form->Button5->userClick(); });
    const auto log = waitFor([](const std::vector<Entry>& entries) {
        return !startsOf(entries, kLoader).empty() && !startsOf(entries, minerLine("1")).empty();
    });
    EXPECT_EQ(startsOf(log, kLoader).size(), 1u);
    ASSERT_EQ(startsOf(log, minerLine("1")).size(), 1u);
    EXPECT_EQ(startsOf(log, minerLine("1"))[0].title, "FPGA1");
    EXPECT_EQ(platform.dialogs, Lines{});
    std::this_thread::sleep_for(std::chrono::seconds(1));  // the miner's run
}

}  // namespace
}  // namespace morvane
