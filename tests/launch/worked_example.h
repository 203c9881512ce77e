#pragma once

#include <string>

#include "launch/command_line.h"

namespace morvane::testing {

// The records of the launch's worked example, in a settings file: the configuration "Rig A" and
// its pool configuration "MyPool" (the title list is the test's).
inline const std::string kWorkedExampleRecords =
    "[Rig A]\r\nBitstream=/*C:\\Mining\\bits.bit*/\r\nMiner=/*C:\\Mining\\miner.exe*/\r\n"
    "Miner Params Location=/*After Miner*/\r\nMiner Params=/*-t 2*/\r\n"
    "NextJTag Location=/*C:\\Mining\\NextJTag.exe*/\r\nSet Voltage=/*Yes*/\r\n"
    "Voltage=/*0.75*/\r\nNumber BCUs=/*2*/\r\nFPGA Name Prefix=/*FPGA*/\r\n"
    "Miner Launch Delay=/*5*/\r\nRigname Offset=/*10*/\r\nHas Pool=/*1*/\r\nHas Token=/*0*/\r\n"
    "[Rig A Pools]\r\nID1=MyPool\r\n"
    "[Rig AMyPool]\r\nConfig Title=MyPool\r\nPool URL=/*-o poolhost*/\r\n"
    "Pool Port=/*:8333*/\r\nPool Wallet=/*-u mywallet*/\r\nPool Rig Name=/*.rig*/\r\n";

// The worked example's start line texts; the pool form when `usePool`.
inline launch::StartLineParts workedExampleParts(bool usePool) {
    return {.windowTitle = "FPGA",
            .miner = "C:\\Mining\\miner.exe",
            .params = "-t 2",
            .paramsAfterMiner = true,
            .usePool = usePool,
            .poolUrl = "-o poolhost",
            .poolPort = ":8333",
            .wallet = "-u mywallet",
            .rigNameFormat = ".rig"};
}

}  // namespace morvane::testing
