#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launch/command_line.h"
#include "store/file_platform.h"

namespace morvane::launch {

// What "Launch Miner" takes from the run page, as the fields show it at the click.
struct LaunchInput {
    std::string folder;              // the executable's folder; a drive's root keeps its "\"
    std::string configuration;       // the title chosen in "Choose a Configuration"
    std::string poolConfiguration;   // the chosen pool configuration's title, when in use
    std::string tokenConfiguration;  // the chosen token configuration's title, when in use
    bool useToken = false;           // a token configuration is in use
    StartLineParts parts;            // parts.usePool: a pool configuration is in use
    bool loadBitstream = false;      // "Load Bitstream?"
    bool setVoltage = false;         // "Set Voltage?"
    std::string nextJTag;            // "NextJTag (optional)"
    std::string voltage;             // the voltage spin box's text
    std::string bitstream;           // "Bitstream"
    int count = 0;                   // "Num FPGAs"
    int delay = 0;                   // "Loop Launch Delay", in seconds
    int offset = 0;                  // "Offset for Loops"
    bool separateInstances = true;   // "Separate Instances (with Loop)"
    bool useAllFpgas = true;         // "Use All FPGAs", else "Use 1 FPGA"
};

// One script: where it goes and its lines (each is written with CR LF after it).
struct Script {
    std::string name;  // the file name, without the folder
    std::string path;  // folder + "\" + name
    std::vector<std::string> lines;
};

struct LaunchScripts {
    Script master;
    // The master file's head: its first lines (the bitstream part and the empty line after it),
    // written before any loop file.
    size_t headLines = 0;
    // The separate-instances mode's loop files, for the instance numbers offset + 1 onwards.
    std::vector<Script> loops;
};

// The master file and the loop files exactly as the launch writes them:
// - master file: folder + "\" + configuration + " - " + pool configuration + ".cmd" when a pool
//   configuration is in use, else folder + "\" + configuration + " - No Pool or Token File.cmd";
// - loop file of instance number n: folder + "\" + T + "-" + n + ".cmd", T the pool or the token
//   configuration in use, else the configuration;
// - a count below 1 writes no loop file in the separate-instances mode.
// Texts from the fields are taken verbatim: nothing is quoted, trimmed or escaped.
LaunchScripts composeLaunch(const LaunchInput& input);

// Why these scripts must not be written, as the message for the user, or nothing:
// - a file name holding a character Windows cannot have in one (\ / : * ? " < > |, controls);
// - "Use All FPGAs" in the single-window mode with a count below 1, which never ends;
// - a character the OEM code page lacks (cmd.exe reads scripts in it), naming the field.
std::optional<std::string> launchRefusal(const LaunchInput& input, const LaunchScripts& scripts,
                                         const FilePlatform& codePage);

// The bytes of the script's first `lines` lines in the OEM code page, each line ended by CR LF.
// Throws std::runtime_error for a character the code page lacks (launchRefusal reports those).
std::string scriptBytes(const Script& script, const FilePlatform& codePage,
                        size_t lines = static_cast<size_t>(-1));

}  // namespace morvane::launch
