// The run page: choosing a configuration fills the page from its record and lists its pool and
// token configurations; choosing one of those fills its tab.
#include <string>

#include "app/unit1.h"
#include "store/records.h"
#include "toolkit/spin_box.h"

namespace morvane {

using namespace records;

namespace {

// MyReadIniString with the record tables' texts.
std::string readKey(TForm1& form, const std::string& section, std::string_view key,
                    std::string_view fallback) {
    return form.MyReadIniString(section, std::string(key), std::string(fallback));
}

}  // namespace

void TForm1::LoadConfig(Sender) {
    if (bUpdating) return;  // a save is replacing a record and refills the lists itself
    if (cbBitstreams->itemIndex() < 0) return;  // no record to load
    const std::string config = cbBitstreams->selectedText();
    const auto read = [&](const ConfigurationKey& key) {
        return readKey(*this, config, key.name, key.runDefault);
    };

    edBitstreamRun->setText(read(kBitstream));
    edMinerRun->setText(read(kMiner));
    if (read(kMinerParamsLocation) == kParamsAtEnd) {
        RadioButton2->setChecked(true);
    } else {
        rbParamsAfterMinerRun->setChecked(true);
    }
    edMinerParamsRun->setText(read(kMinerParams));
    edJTagRun->setText(read(kNextJTagLocation));
    chkbSetVoltageRun->setChecked(read(kSetVoltage) == kYes);
    // The default in this locale's form, so that it reads as 0.70 everywhere.
    sbSetVoltageValueRun->setText(
        readKey(*this, config, kVoltage.name, voltageDefault(ui::locale().decimal)));
    SpinBox1->setText(read(kNumberBCUs));
    edRigNameRun->setText(read(kFpgaNamePrefix));
    sbMinerLaunchDelayRun->setText(read(kMinerLaunchDelay));
    sbLoopOffset->setText(read(kRignameOffset));
    // Neither "1": the tabs stay as the previous configuration left them.
    if (read(kHasPool) == kOn) {
        TabItem7->setEnabled(true);
        TabItem8->setEnabled(false);
        tcPoolOrToken->setTabIndex(0);
    }
    if (read(kHasToken) == kOn) {
        TabItem7->setEnabled(false);
        TabItem8->setEnabled(true);
        tcPoolOrToken->setTabIndex(1);
    }

    LoadPoolConfigDropDown();
    ShowScript(this);
}

void TForm1::LoadPoolConfigDropDown() {
    // A list that had a selection runs its change handler once more, emptying its tab's fields.
    cbChoosePoolConfig->clear();
    cbChooseTokenConfig->clear();
    const std::string config = cbBitstreams->selectedText();

    const std::vector<std::string> pools = store_.titles(poolListSection(config));
    for (const std::string& title : pools) cbChoosePoolConfig->add(title);
    Label21->setCaption("Choose a Pool Configuration (optional) - " + std::to_string(pools.size()) +
                        " configs found");

    const std::vector<std::string> tokens = store_.titles(tokenListSection(config));
    for (const std::string& title : tokens) cbChooseTokenConfig->add(title);
    Label45->setCaption("Select Existing Token Config (optional) - " +
                        std::to_string(tokens.size()) + " configs found");
}

void TForm1::cbChoosePoolConfigChange(Sender) {
    if (cbChoosePoolConfig->itemIndex() < 0) {
        // The rig name and wallet fields refresh the preview themselves if they change.
        edPoolURLRun->setText("");
        edPoolPortRun->setText("");
        edPoolRigNameRun->setText("");
        edPoolWalletRun->setText("");
        return;
    }
    // Without a configuration there is no section to read (an editor's save can fill this
    // list while nothing is chosen here): the fields keep what they show.
    if (cbBitstreams->itemIndex() < 0) return;
    const std::string section = cbBitstreams->selectedText() + cbChoosePoolConfig->selectedText();
    edPoolURLRun->setText(readKey(*this, section, kPoolUrlAsRead, ""));
    edPoolPortRun->setText(readKey(*this, section, kPoolPort, ""));
    edPoolRigNameRun->setText(readKey(*this, section, kPoolRigName, ""));
    edPoolWalletRun->setText(readKey(*this, section, kPoolWallet, ""));
    ShowScript(this);
}

void TForm1::LoadTokenForRun(Sender) {
    if (cbChooseTokenConfig->itemIndex() < 0) {
        // The spin boxes thereby show their minimum; the bidding box keeps its state.
        edTokenFileLocationRun->setText("");
        edTokenHostRun->setText("");
        edTokenRPCPortRun->setText("");
        edTokenWalletRun->setText("");
        edTokenContractRun->setText("");
        edTokenSosKeyRun->setText("");
        sbTokenGasPriceRun->setText("");
        sbTokenMaxGasPriceRun->setText("");
        sbTokenBidTopRun->setText("");
        edChallengeFolderRun->setText("");
        return;
    }
    if (cbBitstreams->itemIndex() < 0) return;  // as for a pool configuration
    const std::string section = cbBitstreams->selectedText() + cbChooseTokenConfig->selectedText();
    const auto read = [&](std::string_view key) { return readKey(*this, section, key, ""); };

    edTokenFileLocationRun->setText(read(kTokenFileLocation));
    edTokenHostRun->setText(read(kTokenHost.value));
    edTokenRPCPortRun->setText(read(kTokenRPCPort.value));
    edTokenWalletRun->setText(read(kTokenWallet.value));
    edTokenContractRun->setText(read(kTokenContract.value));
    edTokenSosKeyRun->setText(read(kTokenSoloKey.value));
    sbTokenGasPriceRun->setText(read(kTokenGasPrice.value));
    sbTokenMaxGasPriceRun->setText(read(kTokenMaxGasPrice.value));
    // Only "0" turns bidding off here ("yes" turns it on), unlike the token page.
    cbTokenGasBiddingRun->setChecked(
        readKey(*this, section, kTokenGasPriceBidding.value, kBiddingRunDefault) != kOff);
    sbTokenBidTopRun->setText(read(kTokenBidTop.value));
    edChallengeFolderRun->setText(read(kTokenChallangeFolder.value));
}

}  // namespace morvane
