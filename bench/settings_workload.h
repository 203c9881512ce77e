#pragma once

#include <string>
#include <vector>

#include "store/settings_store.h"

namespace morvane::bench {

// A settings file as a heavy user would have it: `configurations` configurations, each with
// three pool and two token configurations, in the order the pages write them.
inline std::string settingsFile(int configurations) {
    std::string titles = "[Configuration Titles]\r\n";
    std::string records;
    const auto wrapped = [](std::string& out, const std::string& key, const std::string& value) {
        out += key + "=" + wrapValue(value) + "\r\n";
    };
    for (int c = 1; c <= configurations; ++c) {
        const std::string config = "Rig " + std::to_string(c);
        titles += "ID" + std::to_string(c) + "=" + config + "\r\n";
        records += "[" + config + "]\r\n";
        wrapped(records, "Bitstream", "C:\\FPGA\\bitstreams\\algo" + std::to_string(c) + ".bit");
        wrapped(records, "Miner", "C:\\FPGA\\miner\\miner.exe");
        wrapped(records, "Miner Params Location", "After Miner");
        wrapped(records, "Miner Params", "-i 20 --verbose");
        wrapped(records, "NextJTag Location", "C:\\Tools\\JTag\\loader.exe");
        wrapped(records, "Set Voltage", "Yes");
        wrapped(records, "Voltage", "0.75");
        wrapped(records, "Number BCUs", "4");
        wrapped(records, "FPGA Name Prefix", config + "-FPGA");
        wrapped(records, "Miner Launch Delay", "1");
        wrapped(records, "Rigname Offset", "0");
        wrapped(records, "Has Pool", "1");
        wrapped(records, "Has Token", "0");
        records += "[" + poolListSection(config) + "]\r\n";
        for (int p = 1; p <= 3; ++p)
            records += "ID" + std::to_string(p) + "=Pool" + std::to_string(p) + "\r\n";
        for (int p = 1; p <= 3; ++p) {
            records += "[" + config + "Pool" + std::to_string(p) + "]\r\n";
            records += "Config Title=Pool" + std::to_string(p) + "\r\n";
            wrapped(records, "Pool URL", "stratum+tcp://pool" + std::to_string(p) + ".example");
            wrapped(records, "Pool Port", ":8333");
            wrapped(records, "Pool Wallet", "0x0123456789abcdef0123456789abcdef01234567");
            wrapped(records, "Pool Rig Name", ".rig");
        }
        records += "[" + tokenListSection(config) + "]\r\n";
        for (int t = 1; t <= 2; ++t)
            records += "ID" + std::to_string(t) + "=Tok" + std::to_string(t) + "\r\n";
        for (int t = 1; t <= 2; ++t) {
            records += "[" + config + "Tok" + std::to_string(t) + "]\r\n";
            records += "Config Title=Tok" + std::to_string(t) + "\r\n";
            const char* keys[] = {"Token File Location",
                                  "TokenHost",
                                  "TokenHostSearch",
                                  "TokenRPCPort",
                                  "TokenRPCPortSearch",
                                  "TokenWallet",
                                  "TokenWalletSearch",
                                  "TokenContract",
                                  "TokenContractSearch",
                                  "TokenSoloKey",
                                  "TokenSoloKeySearch",
                                  "TokenGasPrice",
                                  "TokenGasPriceSearch",
                                  "TokenGasPriceBidding",
                                  "TokenGasPriceBiddingSearch",
                                  "TokenMaxGasPrice",
                                  "TokenMaxGasPriceSearch",
                                  "TokenBidTop",
                                  "TokenBidTopSearch",
                                  "TokenChallangeFolder",
                                  "TokenChallangeFolderSearch"};
            for (const char* key : keys) wrapped(records, key, std::string(key) + " value");
        }
    }
    return titles + records;
}

// The configuration the benchmarks load and save into: one in the middle of the file.
inline const std::string kBenchConfiguration = "Rig 500";

// The keys that loading one configuration reads, with the defaults given.
inline const std::vector<std::pair<std::string, std::string>> kConfigurationReads = {
    {"Bitstream", ""},
    {"Miner", ""},
    {"Miner Params Location", ""},
    {"Miner Params", ""},
    {"NextJTag Location", ""},
    {"Set Voltage", ""},
    {"Voltage", ".70"},
    {"Number BCUs", "0"},
    {"FPGA Name Prefix", ""},
    {"Miner Launch Delay", "0"},
    {"Rigname Offset", "0"},
    {"Has Pool", "0"},
    {"Has Token", "0"}};

// Loading one configuration: 13 reads, each opening and parsing the file.
inline size_t loadConfiguration(const SettingsStore& store) {
    size_t total = 0;
    for (const auto& [key, fallback] : kConfigurationReads) {
        total += store.readWrapped(kBenchConfiguration, key, fallback).size();
    }
    return total;
}

// Saving one pool configuration: its title entry and its five keys.
inline void savePoolConfiguration(SettingsStore& store, int round) {
    const std::string title = "Pool2";
    store.write(poolListSection(kBenchConfiguration), "ID2", title);
    const std::string section = kBenchConfiguration + title;
    store.write(section, "Config Title", title);
    store.writeWrapped(section, "Pool URL", "stratum+tcp://pool" + std::to_string(round));
    store.writeWrapped(section, "Pool Port", ":3333");
    store.writeWrapped(section, "Pool Wallet", "0xfeedfacefeedfacefeedfacefeedfacefeedface");
    store.writeWrapped(section, "Pool Rig Name", ".rig");
}

}  // namespace morvane::bench
