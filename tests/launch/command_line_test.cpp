#include "launch/command_line.h"

#include <gtest/gtest.h>

#include "worked_example.h"

namespace morvane::launch {
namespace {

StartLineParts example(bool usePool) { return testing::workedExampleParts(usePool); }

template <typename Change>
StartLineParts with(bool usePool, Change change) {
    StartLineParts parts = example(usePool);
    change(parts);
    return parts;
}

TEST(DirectStartLine, Compositions) {
    const auto atEnd = [](StartLineParts& p) { p.paramsAfterMiner = false; };
    const auto noParams = [](StartLineParts& p) { p.params.clear(); };
    const auto noParamsAtEnd = [](StartLineParts& p) {
        p.params.clear();
        p.paramsAfterMiner = false;
    };
    const struct {
        const char* what;
        StartLineParts parts;
        const char* line;
    } cases[] = {
        {"pool form", example(true),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe -t 2 -o poolhost:8333 -u mywallet.rig%i%")"},
        {"plain form", example(false), R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe -t 2 ")"},
        {"pool form, params at the end", with(true, atEnd),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe -o poolhost:8333 -u mywallet.rig%i% -t 2")"},
        {"plain form, params at the end", with(false, atEnd),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe  -t 2")"},
        {"plain form, no params after the miner", with(false, noParams),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe  ")"},
        {"plain form, no params at the end", with(false, noParamsAtEnd),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe  ")"},
        {"pool form, no params after the miner", with(true, noParams),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe  -o poolhost:8333 -u mywallet.rig%i%")"},
        {"pool form, no params at the end", with(true, noParamsAtEnd),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe -o poolhost:8333 -u mywallet.rig%i% ")"},
        {"no window title: no rig name, whatever the format",
         with(true, [](StartLineParts& p) { p.windowTitle.clear(); }),
         R"(START "%i%" CMD /C "C:\Mining\miner.exe -t 2 -o poolhost:8333 -u mywallet")"},
        {"no window title, plain form",
         with(false, [](StartLineParts& p) { p.windowTitle.clear(); }),
         R"(START "%i%" CMD /C "C:\Mining\miner.exe -t 2 ")"},
        {"no rig-name format: the wallet takes the instance",
         with(true, [](StartLineParts& p) { p.rigNameFormat.clear(); }),
         R"(START "FPGA%i%" CMD /C "C:\Mining\miner.exe -t 2 -o poolhost:8333 -u mywallet%i%")"},
        {"texts verbatim, quotes and blanks included",
         with(true,
              [](StartLineParts& p) {
                  p.miner = R"("C:\Program Files\m.exe")";
                  p.poolPort = " 3333";
                  p.wallet = "";
              }),
         R"(START "FPGA%i%" CMD /C ""C:\Program Files\m.exe" -t 2 -o poolhost 3333 .rig%i%")"},
        {"everything empty", StartLineParts{}, R"(START "%i%" CMD /C "  ")"},
    };
    for (const auto& c : cases) EXPECT_EQ(directStartLine(c.parts), c.line) << c.what;
}

// The loop files' waiting line is the same composition with the instance number.
TEST(StartLine, InstanceAndStarterAreTheCallers) {
    EXPECT_EQ(
        startLine(example(true), "11", " /WAIT CMD /C "),
        R"(START "FPGA11" /WAIT CMD /C "C:\Mining\miner.exe -t 2 -o poolhost:8333 -u mywallet.rig11")");
    EXPECT_EQ(minerCommand(with(false, [](StartLineParts& p) { p.paramsAfterMiner = false; }), "7"),
              R"(C:\Mining\miner.exe  -t 2)");
}

}  // namespace
}  // namespace morvane::launch
