#pragma once

// The keys of the three record kinds, with the default each reader gives for an absent key.
// Every key of a record is stored wrapped except "Config Title". Keys are found without regard
// to letter case; stored values are compared exactly, letter case included.

#include <array>
#include <string>
#include <string_view>

namespace morvane::records {

// A configuration record key (section C) and its readers' defaults.
struct ConfigurationKey {
    std::string_view name;
    std::string_view editorDefault;  // the configuration page
    std::string_view runDefault;     // the run page
};

inline constexpr ConfigurationKey kBitstream{"Bitstream", "", ""};
inline constexpr ConfigurationKey kMiner{"Miner", "", ""};
inline constexpr ConfigurationKey kMinerParamsLocation{"Miner Params Location", "", ""};
inline constexpr ConfigurationKey kMinerParams{"Miner Params", "", ""};
inline constexpr ConfigurationKey kNextJTagLocation{"NextJTag Location", "", ""};
inline constexpr ConfigurationKey kSetVoltage{"Set Voltage", "", ""};
// The default is 0.70 written with "." as the decimal separator; see voltageDefault().
inline constexpr ConfigurationKey kVoltage{"Voltage", ".70", ".70"};
inline constexpr ConfigurationKey kNumberBCUs{"Number BCUs", "0", "0"};
inline constexpr ConfigurationKey kFpgaNamePrefix{"FPGA Name Prefix", "", ""};
inline constexpr ConfigurationKey kMinerLaunchDelay{"Miner Launch Delay", "0", "0"};
inline constexpr ConfigurationKey kRignameOffset{"Rigname Offset", "0", "0"};
// The configuration page's defaults equal none of the values it tests for.
inline constexpr ConfigurationKey kHasPool{"Has Pool", "xxx", "0"};
inline constexpr ConfigurationKey kHasToken{"Has Token", "xxxx", "0"};

// In write order.
inline constexpr std::array kConfigurationKeys = {kBitstream,
                                                  kMiner,
                                                  kMinerParamsLocation,
                                                  kMinerParams,
                                                  kNextJTagLocation,
                                                  kSetVoltage,
                                                  kVoltage,
                                                  kNumberBCUs,
                                                  kFpgaNamePrefix,
                                                  kMinerLaunchDelay,
                                                  kRignameOffset,
                                                  kHasPool,
                                                  kHasToken};

// The stored values the readers test for.
inline constexpr std::string_view kParamsAfterMiner = "After Miner";  // "Miner Params Location"
inline constexpr std::string_view kParamsAtEnd = "At End";
inline constexpr std::string_view kYes = "Yes";  // "Set Voltage"
inline constexpr std::string_view kNo = "No";
inline constexpr std::string_view kOn = "1";  // "Has Pool", "Has Token", "TokenGasPriceBidding"
inline constexpr std::string_view kOff = "0";

// The voltage default in the form a spin box of this locale reads as 0.70. Given with "." in a
// locale whose thousands separator is ".", the text would read as 70 and show the maximum.
inline std::string voltageDefault(std::string_view decimalSeparator) {
    return std::string(decimalSeparator) + "70";
}

// Pool configuration record (section C + P). Every reader's default is "".
inline constexpr std::string_view kConfigTitle = "Config Title";  // raw, in pool and token records
inline constexpr std::string_view kPoolUrl = "Pool URL";
inline constexpr std::string_view kPoolUrlAsRead = "Pool Url";  // the same key, as readers ask
inline constexpr std::string_view kPoolPort = "Pool Port";
inline constexpr std::string_view kPoolWallet = "Pool Wallet";
inline constexpr std::string_view kPoolRigName = "Pool Rig Name";

// Token configuration record (section C + T): the token file's location, then ten settings,
// each a value and the search string that finds its line in the token file. Defaults are ""
// except where given below.
inline constexpr std::string_view kTokenFileLocation = "Token File Location";

struct TokenSetting {
    std::string_view value;
    std::string_view search;
};

inline constexpr TokenSetting kTokenHost{"TokenHost", "TokenHostSearch"};
inline constexpr TokenSetting kTokenRPCPort{"TokenRPCPort", "TokenRPCPortSearch"};
inline constexpr TokenSetting kTokenWallet{"TokenWallet", "TokenWalletSearch"};
inline constexpr TokenSetting kTokenContract{"TokenContract", "TokenContractSearch"};
inline constexpr TokenSetting kTokenSoloKey{"TokenSoloKey", "TokenSoloKeySearch"};
inline constexpr TokenSetting kTokenGasPrice{"TokenGasPrice", "TokenGasPriceSearch"};
inline constexpr TokenSetting kTokenGasPriceBidding{"TokenGasPriceBidding",
                                                    "TokenGasPriceBiddingSearch"};
inline constexpr TokenSetting kTokenMaxGasPrice{"TokenMaxGasPrice", "TokenMaxGasPriceSearch"};
inline constexpr TokenSetting kTokenBidTop{"TokenBidTop", "TokenBidTopSearch"};
inline constexpr TokenSetting kTokenChallangeFolder{"TokenChallangeFolder",
                                                    "TokenChallangeFolderSearch"};

// In write order, which is also the order the token file rewriter tries them in.
inline constexpr std::array kTokenSettings = {
    kTokenHost,    kTokenRPCPort,        kTokenWallet,          kTokenContract,
    kTokenSoloKey, kTokenGasPrice,       kTokenGasPriceBidding, kTokenMaxGasPrice,
    kTokenBidTop,  kTokenChallangeFolder};

// "TokenGasPriceBidding" when absent: on for the token page, off for the run page.
inline constexpr std::string_view kBiddingEditorDefault = "1";
inline constexpr std::string_view kBiddingRunDefault = "0";
// A search string the rewriter finds absent; no line's key part can equal it.
inline constexpr std::string_view kSearchRewriterDefault = "xxxx";

}  // namespace morvane::records
