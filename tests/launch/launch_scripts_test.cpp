// The launch's scripts as plain functions: the worked examples byte for byte against golden
// files, the compositions' edge cases, and what stops a launch before anything is written.
#include "launch/launch_scripts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "golden.h"
#include "store/sandbox_files.h"
#include "worked_example.h"

namespace morvane::launch {
namespace {

using testing::golden;

using Lines = std::vector<std::string>;

// The made-up values of the worked example: pool mode, separate instances.
LaunchInput workedExample() {
    LaunchInput in;
    in.folder = "C:\\Launcher";
    in.configuration = "Rig A";
    in.poolConfiguration = "MyPool";
    in.parts = testing::workedExampleParts(true);
    in.loadBitstream = true;
    in.setVoltage = true;
    in.nextJTag = "C:\\Mining\\NextJTag.exe";
    in.voltage = "0.75";
    in.bitstream = "C:\\Mining\\bits.bit";
    in.count = 2;
    in.delay = 5;
    in.offset = 10;
    return in;
}

template <typename Change>
LaunchInput exampleWith(Change change) {
    LaunchInput input = workedExample();
    change(input);
    return input;
}

const SandboxFiles& codePages() {
    static const SandboxFiles files("unused", "C:\\Launcher\\morvane.exe");
    return files;
}

TEST(LaunchScripts, WorkedExampleWithSeparateInstances) {
    const LaunchScripts scripts = composeLaunch(workedExample());
    EXPECT_EQ(scripts.master.path, "C:\\Launcher\\Rig A - MyPool.cmd");
    EXPECT_EQ(scriptBytes(scripts.master, codePages()), golden("separate/Rig A - MyPool.cmd"));
    ASSERT_EQ(scripts.loops.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const std::string name = "MyPool-" + std::to_string(11 + i) + ".cmd";
        EXPECT_EQ(scripts.loops[i].name, name);
        EXPECT_EQ(scripts.loops[i].path, "C:\\Launcher\\" + name);
        EXPECT_EQ(scriptBytes(scripts.loops[i], codePages()), golden("separate/" + name));
    }
    // What the master file holds before the first loop file is written.
    const std::string master = golden("separate/Rig A - MyPool.cmd");
    EXPECT_EQ(scriptBytes(scripts.master, codePages(), scripts.headLines),
              master.substr(0, master.find("START")));
    EXPECT_FALSE(launchRefusal(workedExample(), scripts, codePages()));
}

TEST(LaunchScripts, WorkedExampleInOneWindow) {
    const LaunchInput input = exampleWith([](LaunchInput& in) {
        in.separateInstances = false;
        in.parts.paramsAfterMiner = false;
    });
    const LaunchScripts scripts = composeLaunch(input);
    EXPECT_TRUE(scripts.loops.empty());
    EXPECT_EQ(scriptBytes(scripts.master, codePages()), golden("single/Rig A - MyPool.cmd"));
    EXPECT_FALSE(launchRefusal(input, scripts, codePages()));
}

// Lines of the master file after its head, and the loop files' names and waiting lines.
struct Shape {
    Lines body;
    Lines loops;
};

Shape shapeOf(const LaunchInput& input) {
    const LaunchScripts scripts = composeLaunch(input);
    Shape shape;
    shape.body.assign(scripts.master.lines.begin() + static_cast<long>(scripts.headLines),
                      scripts.master.lines.end());
    for (const Script& loop : scripts.loops) {
        shape.loops.push_back(loop.path + ": " + loop.lines.at(5));
    }
    return shape;
}

TEST(LaunchScripts, Modes) {
    const struct {
        const char* what;
        LaunchInput input;
        Shape shape;
    } cases[] = {
        {"no count: no loop file, nothing after the head",
         exampleWith([](LaunchInput& in) { in.count = 0; }),
         {}},
        {"a token configuration: loop files named by it, the plain form",
         exampleWith([](LaunchInput& in) {
             in.parts.usePool = false;
             in.useToken = true;
             in.tokenConfiguration = "TokA";
             in.count = 1;
             in.offset = 0;
         }),
         {{R"(START "TokA-1.cmd" /MIN CMD /C "C:\Launcher\TokA-1.cmd")", "TIMEOUT /T 5"},
          {R"(C:\Launcher\TokA-1.cmd: START "FPGA1" /WAIT CMD /C "C:\Mining\miner.exe -t 2 ")"}}},
        {"neither: loop files named by the configuration",
         exampleWith([](LaunchInput& in) {
             in.parts.usePool = false;
             in.count = 1;
             in.delay = 0;
         }),
         {{R"(START "Rig A-11.cmd" /MIN CMD /C "C:\Launcher\Rig A-11.cmd")", "TIMEOUT /T 0"},
          {R"(C:\Launcher\Rig A-11.cmd: START "FPGA11" /WAIT CMD /C "C:\Mining\miner.exe -t 2 ")"}}},
        {"a drive's root: the separator doubles",
         exampleWith([](LaunchInput& in) {
             in.folder = "C:\\";
             in.count = 1;
             in.parts.windowTitle.clear();
         }),
         {{R"(START "MyPool-11.cmd" /MIN CMD /C "C:\\MyPool-11.cmd")", "TIMEOUT /T 5"},
          {R"(C:\\MyPool-11.cmd: START "11" /WAIT CMD /C "C:\Mining\miner.exe -t 2 -o poolhost:8333 -u mywallet")"}}},
        {"\"Use 1 FPGA\": the one instance is the count, the offset plays no part",
         exampleWith([](LaunchInput& in) {
             in.separateInstances = false;
             in.useAllFpgas = false;
             in.count = 3;
             in.delay = 2;
         }),
         {{"echo Start 1st Miner", "", "set i=3", ":loop1", "",
           R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe -t 2 -o poolhost:8333 -u mywallet.rig%i%")",
           "", "set /a i+=1", "if !i!==4 goto continue", "", "TIMEOUT /T 2",
           "echo Starting next Miner", "", "goto loop1", ":continue", "", "echo after", "",
           "exit /b 0"},
          {}}},
    };
    for (const auto& c : cases) {
        const Shape shape = shapeOf(c.input);
        EXPECT_EQ(shape.body, c.shape.body) << c.what;
        EXPECT_EQ(shape.loops, c.shape.loops) << c.what;
    }
}

TEST(LaunchScripts, BitstreamPart) {
    const auto head = [](const LaunchInput& input) {
        const LaunchScripts scripts = composeLaunch(input);
        return Lines(scripts.master.lines.begin() + 3,
                     scripts.master.lines.begin() + static_cast<long>(scripts.headLines));
    };
    EXPECT_EQ(head(exampleWith([](LaunchInput& in) { in.setVoltage = false; })),
              (Lines{"echo Loading Bitstreams",
                     R"(C:\Mining\NextJTag.exe -m -a -b C:\Mining\bits.bit)", ""}));
    EXPECT_EQ(head(exampleWith([](LaunchInput& in) { in.nextJTag.clear(); })),
              (Lines{"echo Loading Bitstreams",
                     R"( -m -a --set_voltage=0.75 -b C:\Mining\bits.bit)", ""}));
    EXPECT_EQ(head(exampleWith([](LaunchInput& in) { in.loadBitstream = false; })),
              (Lines{"echo NOT Loading Bitstreams", ""}));
}

TEST(LaunchScripts, ScriptsAreInTheOemCodePage) {
    const LaunchInput input =
        exampleWith([](LaunchInput& in) { in.parts.miner = "C:\\Minería\\miner.exe"; });
    const LaunchScripts scripts = composeLaunch(input);
    EXPECT_FALSE(launchRefusal(input, scripts, codePages()));
    const std::string bytes = scriptBytes(scripts.loops[0], codePages());
    EXPECT_NE(bytes.find("C:\\Miner\xA1"
                         "a\\miner.exe -t 2"),
              std::string::npos);
}

TEST(LaunchScripts, RefusalsNameWhatToChange) {
    const struct {
        const char* what;
        LaunchInput input;
        const char* message;  // nullptr: no refusal
    } cases[] = {
        {"a colon in the configuration title",
         exampleWith([](LaunchInput& in) { in.configuration = "Rig:A"; }),
         "The configuration title \"Rig:A\" holds \":\", which a file name cannot hold, so the "
         "script \"Rig:A - MyPool.cmd\" cannot be created. Change the title and launch again."},
        {"a slash in the pool configuration title, which names the loop files as well",
         exampleWith([](LaunchInput& in) { in.poolConfiguration = "My/Pool"; }),
         "The pool configuration title \"My/Pool\" holds \"/\", which a file name cannot hold, so "
         "the script \"Rig A - My/Pool.cmd\" cannot be created. Change the title and launch "
         "again."},
        {"a tab in the token configuration title, which names only the loop files",
         exampleWith([](LaunchInput& in) {
             in.parts.usePool = false;
             in.useToken = true;
             in.tokenConfiguration = "Tok\tA";
         }),
         "The token configuration title \"Tok\tA\" holds the control character U+0009, which a "
         "file name cannot hold, so the script \"Tok\tA-11.cmd\" cannot be created. Change the "
         "title and launch again."},
        {"a title that names no file is not looked at", exampleWith([](LaunchInput& in) {
             in.count = 0;
             in.poolConfiguration = "<any>";
             in.parts.usePool = false;
         }),
         nullptr},
        {"a dot at the end and a device name are fine inside a longer name",
         exampleWith([](LaunchInput& in) {
             in.configuration = "CON";
             in.poolConfiguration = "Pool.";
         }),
         nullptr},
        {"\"Use All FPGAs\" with no count in one window", exampleWith([](LaunchInput& in) {
             in.separateInstances = false;
             in.count = 0;
         }),
         "\"Num FPGAs\" is 0, but \"Use All FPGAs\" starts the instances 1 to \"Num FPGAs\", so "
         "the script would never stop starting miners. Set \"Num FPGAs\" to 1 or more, or choose "
         "\"Use 1 FPGA\", and launch again."},
        {"\"Use 1 FPGA\" with no count starts instance 0 once", exampleWith([](LaunchInput& in) {
             in.separateInstances = false;
             in.useAllFpgas = false;
             in.count = 0;
         }),
         nullptr},
        {"a character the OEM code page lacks, in a field",
         exampleWith([](LaunchInput& in) { in.parts.wallet = "-u €wallet"; }),
         "The field \"Wallet\" holds \"€\", which the command scripts cannot hold: cmd.exe reads "
         "them in the OEM code page, which lacks it. Change the field and launch again."},
        {"in the folder, which only the loop files' start lines hold",
         exampleWith([](LaunchInput& in) { in.folder = "C:\\Майнинг"; }),
         "The program's folder \"C:\\Майнинг\" holds \"М\", which the command scripts cannot "
         "hold: cmd.exe reads them in the OEM code page, which lacks it. Move the program to "
         "another folder and launch again."},
        {"in the pool configuration title, held by the master file's start lines",
         exampleWith([](LaunchInput& in) { in.poolConfiguration = "Pool€"; }),
         "The pool configuration title \"Pool€\" holds \"€\", which the command scripts cannot "
         "hold: cmd.exe reads them in the OEM code page, which lacks it. Change the title and "
         "launch again."},
        {"a field the scripts do not hold is not looked at", exampleWith([](LaunchInput& in) {
             in.loadBitstream = false;
             in.bitstream = "C:\\€.bit";
             in.parts.usePool = false;
             in.parts.wallet = "€";
         }),
         nullptr},
    };
    for (const auto& c : cases) {
        const auto refusal = launchRefusal(c.input, composeLaunch(c.input), codePages());
        if (c.message) {
            EXPECT_EQ(refusal.value_or("(none)"), c.message) << c.what;
        } else {
            EXPECT_FALSE(refusal) << c.what << ": " << *refusal;
        }
    }
}

}  // namespace
}  // namespace morvane::launch
