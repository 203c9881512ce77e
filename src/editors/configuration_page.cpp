// The configuration page: a configuration created, or loaded and changed, checked and saved.
// The save makes it the current configuration and leads on to its pool or token page.
#include <string>

#include "app/unit1.h"
#include "editors/editor_steps.h"
#include "store/records.h"
#include "toolkit/spin_box.h"

namespace morvane {

using namespace records;
using editors::kAddNew;

void TForm1::LoadStrem2Edit(Sender) {
    if (bUpdating) return;                                // a save is replacing a record
    if (cbAddConfigChoseConfig->itemIndex() < 0) return;  // nothing chosen: nothing to load
    sCurrentConfig = cbAddConfigChoseConfig->selectedText();
    // The voltage default in this locale's form, so that it reads as 0.70 everywhere.
    const std::string voltage = voltageDefault(ui::locale().decimal);

    if (sCurrentConfig == kAddNew) {
        ebConfigTitle->setText("");
        ebBitstream->setText("");
        ebMiner->setText("");
        ebMinerParams->setText("");
        ebNextJtTag->setText("");
        ebFpgaNames->setText("");
        rbConfSaveAtTheEnd->setChecked(true);
        chkbSetVoltageSave->setChecked(false);
        sbSetVoltageValueSave->setText(voltage);
        sbNoFpgas->setText("1");
        sbMinerDelaySave->setText("0");
        rbHasPool->setChecked(true);
        return;  // the loop offset keeps its value
    }

    const std::string config = sCurrentConfig;
    const auto read = [&](const ConfigurationKey& key) {
        return MyReadIniString(config, std::string(key.name), std::string(key.editorDefault));
    };
    ebConfigTitle->setText(config);
    ebBitstream->setText(read(kBitstream));
    ebMiner->setText(read(kMiner));
    if (read(kMinerParamsLocation) == kParamsAtEnd) {
        rbConfSaveAtTheEnd->setChecked(true);
    } else {
        rbConfSaveAfterMiner->setChecked(true);
    }
    ebMinerParams->setText(read(kMinerParams));
    ebNextJtTag->setText(read(kNextJTagLocation));
    chkbSetVoltageSave->setChecked(read(kSetVoltage) == kYes);
    sbSetVoltageValueSave->setText(MyReadIniString(config, std::string(kVoltage.name), voltage));
    sbNoFpgas->setText(read(kNumberBCUs));
    ebFpgaNames->setText(read(kFpgaNamePrefix));
    sbMinerDelaySave->setText(read(kMinerLaunchDelay));
    sbLoopOffsetSave->setText(read(kRignameOffset));
    // Anything but "1" leaves the radio buttons as they are.
    if (read(kHasPool) == kOn) rbHasPool->setChecked(true);
    if (read(kHasToken) == kOn) rbHasToken->setChecked(true);
}

bool TForm1::CheckB4Save() {
    // Every check runs, so one click can show several messages.
    bool refused = false;
    if (ebConfigTitle->text().empty()) {
        MyErrorMessage(1, "Must have a Config Title");
        refused = true;
    }
    if (ebConfigTitle->text() == kAddNew) {
        MyErrorMessage(1, "Invalid Config Title. Chose another one.");
        refused = true;
    }
    if (ebBitstream->text().empty()) {
        MyErrorMessage(2,
                       "Bitstream location not specified.\rYou may not need this, so you can "
                       "ignore this warning, if not needd.");
    }
    if (ebMiner->text().empty()) {
        MyErrorMessage(1, "Miner program location not specified");
        refused = true;
    }
    if (ebNextJtTag->text().empty()) MyErrorMessage(2, "NextJTag location not completed");
    return refused;
}

void TForm1::btnSaveStreamClick(Sender) {
    if (CheckB4Save()) return;

    const std::string title = ebConfigTitle->text();
    const auto entry = editors::giveOutEntry(store_, kConfigurationTitles, title, platform_,
                                             "Update existing Config?");
    if (!entry) return;
    const editors::ReplacingTitle replacing(entry->replacing);

    store_.write(kConfigurationTitles, titleEntryKey(entry->number), title);
    const auto write = [&](const ConfigurationKey& key, std::string_view value) {
        MyWriteIniString(title, std::string(key.name), std::string(value));
    };
    write(kBitstream, ebBitstream->text());
    write(kMiner, ebMiner->text());
    // Neither button checked (the state at start-up) stores "At End".
    write(kMinerParamsLocation, rbConfSaveAfterMiner->checked() ? kParamsAfterMiner : kParamsAtEnd);
    write(kMinerParams, ebMinerParams->text());
    write(kNextJTagLocation, ebNextJtTag->text());
    write(kSetVoltage, chkbSetVoltageSave->checked() ? kYes : kNo);
    write(kVoltage, sbSetVoltageValueSave->text());
    write(kNumberBCUs, sbNoFpgas->text());
    write(kFpgaNamePrefix, ebFpgaNames->text());
    write(kMinerLaunchDelay, sbMinerDelaySave->text());
    write(kRignameOffset, sbLoopOffsetSave->text());

    if (!bUpdating) {
        cbAddConfigChoseConfig->add(title);
        cbBitstreams->add(title);
    }
    bUpdating = false;
    sCurrentConfig = title;

    const bool hasPool = rbHasPool->checked();
    write(kHasPool, hasPool ? kOn : kOff);
    write(kHasToken, hasPool ? kOff : kOn);
    if (hasPool) {
        AddNewPoolTitles(this);
    } else {
        AddTokenConfigs(this);
    }
    MyErrorMessage(2, "Config Saved");
    TabControl1->setTabIndex(hasPool ? 2 : 3);
}

}  // namespace morvane
