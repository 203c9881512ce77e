// "Launch Miner" and "Launch Master File" through the window's model: the files on disk, the
// output page's tabs and memos, and the state a failure leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../store/store_fixture.h"
#include "app/unit1.h"
#include "golden.h"
#include "toolkit/dispatch.h"
#include "tools/uiscript/scripted_platform.h"
#include "worked_example.h"

namespace morvane::testing {
namespace {

using Lines = std::vector<std::string>;

// The worked example's records, and a token configuration run with four instances.
const std::string kSettings =
    "[Configuration Titles]\r\nID1=Rig A\r\nID2=Rig T\r\n" + kWorkedExampleRecords +
    "[Rig T]\r\nMiner=/*C:\\Mining\\tokenminer.exe*/\r\nNumber BCUs=/*4*/\r\n"
    "Has Pool=/*0*/\r\nHas Token=/*1*/\r\n"
    "[Rig T Tokens]\r\nID1=TokA\r\n"
    "[Rig TTokA]\r\nConfig Title=TokA\r\nToken File Location=/*C:\\Tok\\miner.conf*/\r\n"
    "TokenHost=/*new-host*/\r\nTokenHostSearch=/*Host=*/\r\n";

// Counts the changes each control reports to the view.
class ChangeCounter : public ui::ViewObserver {
  public:
    std::map<std::string, int> changes;
    void controlChanged(ui::Control& control) override { ++changes[control.name()]; }
    void controlRemoved(ui::Control&) override {}
    void controlAdded(ui::Control&) override {}
};

class Launch : public StoreTest {
  protected:
    Launch() : platform(files, "C:\\Launcher\\morvane.exe") {
        putIni(kSettings);
        form = startForm1(platform);
    }

    void choose(ui::ComboBox* box, const std::string& entry) {
        const auto& items = box->items();
        const auto found = std::find(items.begin(), items.end(), entry);
        ASSERT_NE(found, items.end()) << entry;
        ui::dispatch(platform, [&] { box->userSelect(static_cast<int>(found - items.begin())); });
    }
    void click(ui::Button* button) {
        ui::dispatch(platform, [&] { button->userClick(); });
    }
    void workedExample() {
        choose(form->cbBitstreams, "Rig A");
        choose(form->cbChoosePoolConfig, "MyPool");
        ui::dispatch(platform, [&] { form->chkbxLoadBitstream->userClick(); });
    }

    std::string file(const std::string& path) const {
        std::ifstream in(files.hostPath(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    Lines captions() const {
        Lines result;
        for (int i = 0; i < form->TabControl2->count(); ++i) {
            result.push_back(form->TabControl2->page(i)->caption());
        }
        return result;
    }
    // The memo on a run-time tab: its name and its lines.
    std::pair<std::string, Lines> memoOn(int tab) const {
        const auto& children = form->TabControl2->page(tab)->children();
        if (children.size() != 1 || children[0]->kind() != ui::Kind::Memo) return {"(no memo)", {}};
        const auto& memo = static_cast<const ui::Memo&>(*children[0]);
        EXPECT_TRUE(memo.fillParent);
        return {memo.name(), memo.lines()};
    }
    std::vector<std::string> dialogs() const {
        std::vector<std::string> result;
        for (const auto& dialog : platform.unconsumedDialogs()) result.push_back(dialog.describe());
        return result;
    }

    uiscript::ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
};

Lines linesOf(const std::string& bytes) {
    Lines lines;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST_F(Launch, WorkedExampleWritesTheScriptsAndShowsEachOnItsTab) {
    workedExample();
    ChangeCounter counter;
    form->setObserver(&counter);
    click(form->Button4);
    form->setObserver(nullptr);

    EXPECT_EQ(dialogs(), std::vector<std::string>{});
    const std::string master = "C:\\Launcher\\Rig A - MyPool.cmd";
    EXPECT_EQ(file(master), golden("separate/Rig A - MyPool.cmd"));
    EXPECT_EQ(file("C:\\Launcher\\MyPool-11.cmd"), golden("separate/MyPool-11.cmd"));
    EXPECT_EQ(file("C:\\Launcher\\MyPool-12.cmd"), golden("separate/MyPool-12.cmd"));
    EXPECT_EQ(sLaunchFileName, master);
    EXPECT_EQ(captions(), (Lines{"Master File", "MyPool-11.cmd", "MyPool-12.cmd"}));
    EXPECT_EQ(form->Memo1->lines(), linesOf(golden("separate/Rig A - MyPool.cmd")));
    EXPECT_EQ(memoOn(1),
              std::make_pair(std::string("Mymemo1"), linesOf(golden("separate/MyPool-11.cmd"))));
    EXPECT_EQ(memoOn(2),
              std::make_pair(std::string("Mymemo2"), linesOf(golden("separate/MyPool-12.cmd"))));
    EXPECT_EQ(form->TabControl1->tabIndex(), 4);
    // Each script reaches its memo, and so the native control, as one change.
    EXPECT_EQ(counter.changes["Memo1"], 1);
    EXPECT_EQ(counter.changes["Mymemo1"], 1);
    EXPECT_EQ(counter.changes["Mymemo2"], 1);

    click(form->Button5);
    EXPECT_EQ(platform.lastShellOpen().value_or("(nothing)"), master);
}

// A loop file that cannot be written ends the launch there: the tabs so far stay (the failing
// one empty), the master file holds only its head, Memo1 its old text, and the page stays.
TEST_F(Launch, AFailingLoopFileLeavesTheStateReachedSoFar) {
    workedExample();
    form->Memo1->setLines({"earlier"});
    platform.addReadOnly("C:\\Launcher\\MyPool-12.cmd");
    click(form->Button4);

    EXPECT_EQ(dialogs(), std::vector<std::string>{
                             R"(failure "Cannot create file \"C:\\Launcher\\MyPool-12.cmd\".")"});
    const std::string head = golden("separate/Rig A - MyPool.cmd");
    EXPECT_EQ(file("C:\\Launcher\\Rig A - MyPool.cmd"), head.substr(0, head.find("START")));
    EXPECT_EQ(file("C:\\Launcher\\MyPool-11.cmd"), golden("separate/MyPool-11.cmd"));
    EXPECT_EQ(captions(), (Lines{"Master File", "MyPool-11.cmd", "MyPool-12.cmd"}));
    EXPECT_EQ(memoOn(2), std::make_pair(std::string("Mymemo2"), Lines{}));
    EXPECT_EQ(form->Memo1->lines(), Lines{"earlier"});
    EXPECT_EQ(sLaunchFileName, "C:\\Launcher\\Rig A - MyPool.cmd");
    EXPECT_EQ(form->TabControl1->tabIndex(), 0);
}

// A refused launch writes nothing and leaves the last launch's master file to "Launch Master
// File".
TEST_F(Launch, ARefusalLeavesEverythingAsItWas) {
    workedExample();
    click(form->Button4);
    form->TabControl1->setTabIndex(0);
    ui::dispatch(platform, [&] { form->edRigNameRun->setText("FPGA€"); });
    ui::dispatch(platform, [&] { form->SpinBox1->setValue(3); });
    click(form->Button4);

    EXPECT_EQ(
        dialogs(),
        std::vector<std::string>{
            R"(message error "The field \"Window Title\" holds \"€\", which the command scripts )"
            R"(cannot hold: cmd.exe reads them in the OEM code page, which lacks it. Change the )"
            R"(field and launch again.")"});
    EXPECT_EQ(sLaunchFileName, "C:\\Launcher\\Rig A - MyPool.cmd");
    EXPECT_EQ(file("C:\\Launcher\\Rig A - MyPool.cmd"), golden("separate/Rig A - MyPool.cmd"));
    EXPECT_EQ(file("C:\\Launcher\\MyPool-13.cmd"), "");
    EXPECT_EQ(captions(), (Lines{"Master File", "MyPool-11.cmd", "MyPool-12.cmd"}));
    EXPECT_EQ(form->TabControl1->tabIndex(), 0);
}

// The token file's memo is named by its tab's index; a second launch removes the earlier tabs.
TEST_F(Launch, TokenFileTabFollowsTheLoopFilesAndGoesWithTheNextLaunch) {
    std::filesystem::create_directories(files.hostPath("C:\\Tok"));
    std::ofstream(files.hostPath("C:\\Tok\\miner.conf"), std::ios::binary) << "Host=old\n";
    choose(form->cbBitstreams, "Rig T");
    choose(form->cbChooseTokenConfig, "TokA");
    click(form->Button4);
    EXPECT_EQ(dialogs(), std::vector<std::string>{});
    EXPECT_EQ(captions(), (Lines{"Master File", "TokA-1.cmd", "TokA-2.cmd", "TokA-3.cmd",
                                 "TokA-4.cmd", "Token File"}));
    EXPECT_EQ(memoOn(5), std::make_pair(std::string("Mymemo5"), Lines{"Host=new-host"}));
    EXPECT_EQ(file("C:\\Tok\\miner.conf"), "Host=new-host");

    form->SpinBox1->setValue(0);
    click(form->Button4);
    EXPECT_EQ(captions(), (Lines{"Master File", "Token File"}));
    EXPECT_EQ(memoOn(1), std::make_pair(std::string("Mymemo1"), Lines{"Host=new-host"}));
    EXPECT_EQ(file("C:\\Launcher\\TokA-4.cmd").empty(), false);  // earlier files stay
}

}  // namespace
}  // namespace morvane::testing
