// "Launch Miner": the master file and the loop files from what the run page shows, each on its
// own tab of the output page; "Launch Master File" hands the master file to the shell.
#include <stdexcept>
#include <string>

#include "app/unit1.h"

namespace morvane {

namespace {

const char* const kNoPoolMessage =
    "You have not selected a pool config.\rYour set-up may not need the pool config as it may be "
    "within a seperate config file for the miner.";
const char* const kNoTokenMessage =
    "You have not selected a Token config.\rYour set-up may not need the Token config as it may "
    "be within a seperate config file for the miner.";

// A whole-number spin box's text as a number.
int wholeNumber(const std::string& text) {
    size_t used = 0;
    int number = 0;
    try {
        number = std::stoi(text, &used);
    } catch (const std::logic_error&) {
        used = 0;
    }
    if (used == 0 || used != text.size()) {
        throw std::runtime_error("'" + text + "' is not a valid integer value");
    }
    return number;
}

void writeScript(ui::Platform& platform, const std::string& path, const std::string& bytes) {
    if (!platform.writeFile(path, bytes)) {
        throw std::runtime_error("Cannot create file \"" + path + "\".");
    }
}

}  // namespace

launch::LaunchInput TForm1::launchInput(bool usePool, bool useToken) const {
    return {.folder = folderOf(platform_.executablePath()),
            .configuration = cbBitstreams->selectedText(),
            .poolConfiguration = usePool ? cbChoosePoolConfig->selectedText() : "",
            .tokenConfiguration = useToken ? cbChooseTokenConfig->selectedText() : "",
            .useToken = useToken,
            .parts = startLineParts(usePool),
            .loadBitstream = chkbxLoadBitstream->checked(),
            .setVoltage = chkbSetVoltageRun->checked(),
            .nextJTag = edJTagRun->text(),
            .voltage = sbSetVoltageValueRun->text(),
            .bitstream = edBitstreamRun->text(),
            .count = wholeNumber(SpinBox1->text()),
            .delay = wholeNumber(sbMinerLaunchDelayRun->text()),
            .offset = wholeNumber(sbLoopOffset->text()),
            .separateInstances = chkbSeperateFilesRun->checked(),
            .useAllFpgas = rbUseAllFpgas->checked()};
}

ui::Memo* TForm1::addOutputTab(const std::string& caption, const std::string& memoName) {
    ui::TabPage* tab = TabControl2->addTab("", caption);
    return tab->add<ui::Memo>(memoName, true);
}

void TForm1::RunCmd(Sender) {
    if (cbBitstreams->itemIndex() < 0) {
        MyErrorMessage(1, "Must chose a Bitstream");
        cbBitstreams->setFocus();
        return;
    }
    bool bUsePool = false;
    bool bUseToken = false;
    if (tcPoolOrToken->tabIndex() == 0) {
        if (cbChoosePoolConfig->itemIndex() < 0) {
            MyErrorMessage(2, kNoPoolMessage);
        } else {
            bUsePool = true;
        }
    } else if (cbChooseTokenConfig->itemIndex() < 0) {
        MyErrorMessage(2, kNoTokenMessage);
    } else {
        bUseToken = true;
    }

    // Everything that would stop the scripts half-way is found before anything is written.
    const launch::LaunchInput input = launchInput(bUsePool, bUseToken);
    const launch::LaunchScripts scripts = launch::composeLaunch(input);
    if (const auto refusal = launch::launchRefusal(input, scripts, platform_)) {
        MyErrorMessage(1, *refusal);
        return;
    }

    sLaunchFileName = scripts.master.path;
    writeScript(platform_, scripts.master.path,
                launch::scriptBytes(scripts.master, platform_, scripts.headLines));
    while (TabControl2->count() > 1) TabControl2->removeTab(1);
    for (size_t k = 0; k < scripts.loops.size(); ++k) {
        const launch::Script& loop = scripts.loops[k];
        ui::Memo* memo = addOutputTab(loop.name, "Mymemo" + std::to_string(k + 1));
        writeScript(platform_, loop.path, launch::scriptBytes(loop, platform_));
        memo->setLines(loop.lines);
    }
    writeScript(platform_, scripts.master.path, launch::scriptBytes(scripts.master, platform_));
    Memo1->setLines(scripts.master.lines);
    if (bUseToken) EditTokenFile();
    TabControl1->setTabIndex(4);
}

void TForm1::Button5Click(Sender) { platform_.shellOpen(sLaunchFileName); }

}  // namespace morvane
