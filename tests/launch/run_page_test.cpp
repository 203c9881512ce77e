// The run page's handlers as event-log tests: every list change with its selection, every
// committed edit, the spin boxes, check boxes, tabs and labels they set, and each rebuild of
// the preview, in the order they happen.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../store/store_fixture.h"
#include "app/unit1.h"
#include "toolkit/dispatch.h"
#include "tools/uiscript/scripted_platform.h"

namespace morvane::testing {
namespace {

using Log = std::vector<std::string>;

// Writes down what happens on the run page. Changes of lists and edits are taken from their
// change handlers (wrapped, so the window's own still run after the entry); everything else
// from the view's observer. Only the controls named in `watched` are logged, or all.
class EventLog : public ui::ViewObserver {
  public:
    EventLog(TForm1& form, std::set<std::string> watched = {}) : watched_(std::move(watched)) {
        for (ui::ComboBox* box :
             {form.cbBitstreams, form.cbChoosePoolConfig, form.cbChooseTokenConfig}) {
            box->onChange = [this, box, inner = box->onChange] {
                note(*box, ".change(" + std::to_string(box->itemIndex()) + ")");
                if (inner) inner();
            };
        }
        wrapEdits(*form.Panel2);
        form.setObserver(this);
    }

    Log take() { return std::exchange(entries_, {}); }

    void controlChanged(ui::Control& control) override {
        switch (control.kind()) {
            case ui::Kind::Memo: {
                const auto& memo = static_cast<ui::Memo&>(control);
                // A rebuild clears the memo first; the line it then gets is the event.
                if (!memo.lines().empty()) note(control, ": " + memo.text());
                break;
            }
            case ui::Kind::SpinBox: {
                // A new value is reported twice (the value, then its text): one entry.
                const std::string what = "=" + static_cast<ui::SpinBox&>(control).text();
                if (entries_.empty() || entries_.back() != control.name() + what)
                    note(control, what);
                break;
            }
            case ui::Kind::CheckBox:
                note(control,
                     static_cast<ui::CheckBox&>(control).checked() ? "=checked" : "=unchecked");
                break;
            case ui::Kind::RadioButton:
                note(control,
                     static_cast<ui::RadioButton&>(control).checked() ? "=checked" : "=unchecked");
                break;
            case ui::Kind::TabPage:
                note(control, control.enabled() ? "=enabled" : "=disabled");
                break;
            case ui::Kind::TabControl:
                note(control,
                     "=" + std::to_string(static_cast<ui::TabControl&>(control).tabIndex()));
                break;
            case ui::Kind::Label:
                note(control, "=" + control.caption());
                break;
            default:
                break;
        }
    }
    void controlRemoved(ui::Control&) override {}
    void controlAdded(ui::Control&) override {}

  private:
    void wrapEdits(ui::Control& parent) {
        for (const auto& child : parent.children()) {
            if (child->kind() == ui::Kind::Edit) {
                auto* edit = static_cast<ui::Edit*>(child.get());
                edit->onChange = [this, edit, inner = edit->onChange] {
                    note(*edit, ".commit(" + edit->text() + ")");
                    if (inner) inner();
                };
            }
            wrapEdits(*child);
        }
    }
    void note(const ui::Control& control, const std::string& what) {
        if (watched_.empty() || watched_.contains(control.name()))
            entries_.push_back(control.name() + what);
    }

    std::set<std::string> watched_;
    Log entries_;
};

// Rig1 runs with pool configurations, Rig2 with token configurations; "Rig1 Copy" holds Rig1's
// values without any pool configuration. [PoolA] and [TokA] are what a reader would find
// without a configuration title in front.
const char* const kSettings =
    "[Configuration Titles]\r\nID1=Rig1\r\nID2=Rig2\r\nID3=Rig1 Copy\r\n"
    "[Rig1]\r\nBitstream=/*b1.bit*/\r\nMiner=/*m1.exe*/\r\nMiner Params Location=/*After "
    "Miner*/\r\n"
    "Miner Params=/*-i 20*/\r\nNextJTag Location=/*j.exe*/\r\nSet Voltage=/*Yes*/\r\n"
    "Voltage=/*0.75*/\r\nNumber BCUs=/*4*/\r\nFPGA Name Prefix=/*R1*/\r\n"
    "Miner Launch Delay=/*1*/\r\nRigname Offset=/*0*/\r\nHas Pool=/*1*/\r\nHas Token=/*0*/\r\n"
    "[Rig1 Pools]\r\nID1=PoolA\r\nID2=PoolB\r\nID3=PoolC\r\n"
    "[Rig1PoolA]\r\nConfig Title=PoolA\r\nPool URL=/*ua*/\r\nPool Port=/*:1*/\r\n"
    "Pool Wallet=/**/\r\nPool Rig Name=/**/\r\n"
    "[Rig1PoolB]\r\nConfig Title=PoolB\r\nPool URL=/*ub*/\r\nPool Port=/*:2*/\r\n"
    "Pool Wallet=/*wb*/\r\nPool Rig Name=/*.rb*/\r\n"
    "[Rig1 Copy]\r\nBitstream=/*b1.bit*/\r\nMiner=/*m1.exe*/\r\n"
    "Miner Params Location=/*After Miner*/\r\nMiner Params=/*-i 20*/\r\n"
    "NextJTag Location=/*j.exe*/\r\nSet Voltage=/*Yes*/\r\nVoltage=/*0.75*/\r\n"
    "Number BCUs=/*4*/\r\nFPGA Name Prefix=/*R1*/\r\nMiner Launch Delay=/*1*/\r\n"
    "Rigname Offset=/*0*/\r\nHas Pool=/*1*/\r\nHas Token=/*0*/\r\n"
    "[Rig2]\r\nBitstream=/*b2.bit*/\r\nMiner=/*m2.exe*/\r\nMiner Params Location=/*At End*/\r\n"
    "Miner Params=/**/\r\nNextJTag Location=/*j2.exe*/\r\nSet Voltage=/*No*/\r\n"
    "Voltage=/*0.80*/\r\nNumber BCUs=/*2*/\r\nFPGA Name Prefix=/*R2*/\r\n"
    "Miner Launch Delay=/*0*/\r\nRigname Offset=/*4*/\r\nHas Pool=/*0*/\r\nHas Token=/*1*/\r\n"
    "[Rig2 Tokens]\r\nID1=TokA\r\nID2=TokB\r\nID3=TokC\r\nID4=TokD\r\nID5=TokE\r\n"
    "[Rig2TokA]\r\nConfig Title=TokA\r\nToken File Location=/*C:\\tok\\miner.conf*/\r\n"
    "TokenHost=/*nodehost*/\r\nTokenHostSearch=/*Host=*/\r\nTokenRPCPort=/*8545*/\r\n"
    "TokenWallet=/*mywallet*/\r\nTokenContract=/*mycontract*/\r\nTokenSoloKey=/**/\r\n"
    "TokenGasPrice=/*5*/\r\nTokenGasPriceBidding=/*yes*/\r\nTokenMaxGasPrice=/*7*/\r\n"
    "TokenBidTop=/*3*/\r\nTokenChallangeFolder=/*C:\\ch*/\r\n"
    "[Rig2TokB]\r\nTokenGasPriceBidding=/*0*/\r\n"
    "[Rig2TokC]\r\nTokenGasPriceBidding=/*1*/\r\n"
    "[Rig2TokD]\r\nTokenHost=/*d*/\r\n"
    "[Rig2TokE]\r\nTokenGasPriceBidding=/**/\r\n"
    "[PoolA]\r\nPool URL=/*wrong*/\r\n"
    "[TokA]\r\nTokenHost=/*wrong*/\r\n";

const std::string kPoolCount = "Label21=Choose a Pool Configuration (optional) - ";
const std::string kTokenCount = "Label45=Select Existing Token Config (optional) - ";

class RunPage : public StoreTest {
  protected:
    RunPage() : platform(files, "C:\\Launcher\\morvane.exe") {
        putIni(kSettings);
        form = startForm1(platform);
    }
    ~RunPage() override { EXPECT_TRUE(platform.unconsumedDialogs().empty()); }

    // The user's actions, delivered as the window delivers them.
    void choose(ui::ComboBox* box, const std::string& entry) {
        const auto& items = box->items();
        const auto found = std::find(items.begin(), items.end(), entry);
        ASSERT_NE(found, items.end()) << entry;
        ui::dispatch(platform, [&] { box->userSelect(static_cast<int>(found - items.begin())); });
    }
    void commit(ui::Edit* field, const std::string& text) {
        ui::dispatch(platform, [&] { field->setText(text); });
    }

    uiscript::ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
};

TEST_F(RunPage, ChoosingAConfigurationFillsThePageInReadOrder) {
    TForm1& f = *form;
    EventLog log(f);
    choose(f.cbBitstreams, "Rig1");
    EXPECT_EQ(log.take(), (Log{
                              "cbBitstreams.change(0)",
                              "edBitstreamRun.commit(b1.bit)",
                              R"(Memo3: START "%i%" CMD /C "  ")",
                              "edMinerRun.commit(m1.exe)",
                              R"(Memo3: START "%i%" CMD /C "m1.exe  ")",
                              "edMinerParamsRun.commit(-i 20)",
                              "edJTagRun.commit(j.exe)",
                              R"(Memo3: START "%i%" CMD /C "m1.exe -i 20 ")",
                              "chkbSetVoltageRun=checked",
                              "sbSetVoltageValueRun=0.75",
                              "SpinBox1=4",
                              "edRigNameRun.commit(R1)",
                              "sbMinerLaunchDelayRun=1",
                              "sbLoopOffset=0",
                              "TabItem8=disabled",
                              kPoolCount + "3 configs found",
                              kTokenCount + "0 configs found",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ")",
                          }));
    EXPECT_EQ(f.cbChoosePoolConfig->items(), (std::vector<std::string>{"PoolA", "PoolB", "PoolC"}));
    EXPECT_EQ(f.cbChoosePoolConfig->itemIndex(), -1);
    EXPECT_TRUE(f.cbChooseTokenConfig->items().empty());
}

// The pool records belong to the configuration chosen here, not to the one the configuration
// page works on.
TEST_F(RunPage, ChoosingAPoolConfigurationFillsItsTabThenRebuildsThePreview) {
    TForm1& f = *form;
    choose(f.cbBitstreams, "Rig1");
    sCurrentConfig = "Rig2";
    EventLog log(f);
    choose(f.cbChoosePoolConfig, "PoolB");
    EXPECT_EQ(log.take(), (Log{
                              "cbChoosePoolConfig.change(1)",
                              "edPoolURLRun.commit(ub)",
                              "edPoolPortRun.commit(:2)",
                              "edPoolRigNameRun.commit(.rb)",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ub:2 .rb%i%")",
                              "edPoolWalletRun.commit(wb)",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ub:2 wb.rb%i%")",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ub:2 wb.rb%i%")",
                          }));
    choose(f.cbChoosePoolConfig, "PoolA");  // stored empty rig name and wallet
    EXPECT_EQ(log.take(), (Log{
                              "cbChoosePoolConfig.change(0)",
                              "edPoolURLRun.commit(ua)",
                              "edPoolPortRun.commit(:1)",
                              "edPoolRigNameRun.commit()",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ua:1 wb%i%")",
                              "edPoolWalletRun.commit()",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ua:1 %i%")",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ua:1 %i%")",
                          }));
    choose(f.cbChoosePoolConfig, "PoolC");  // listed, but without a record
    EXPECT_EQ(log.take(), (Log{
                              "cbChoosePoolConfig.change(2)",
                              "edPoolURLRun.commit()",
                              "edPoolPortRun.commit()",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20  %i%")",
                          }));
}

// The record is read while the pool configuration is still chosen, so the preview keeps the
// pool form until the refill of the lists clears it.
TEST_F(RunPage, ChoosingAnotherConfigurationClearsTheChosenPoolConfiguration) {
    TForm1& f = *form;
    choose(f.cbBitstreams, "Rig1");
    choose(f.cbChoosePoolConfig, "PoolB");
    EventLog log(f);
    choose(f.cbBitstreams, "Rig2");
    EXPECT_EQ(log.take(), (Log{
                              "cbBitstreams.change(1)",
                              "edBitstreamRun.commit(b2.bit)",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ub:2 wb.rb%i%")",
                              "edMinerRun.commit(m2.exe)",
                              R"(Memo3: START "R1%i%" CMD /C "m2.exe -i 20 ub:2 wb.rb%i%")",
                              "rbParamsAfterMinerRun=unchecked",
                              "RadioButton2=checked",
                              "edMinerParamsRun.commit()",
                              "edJTagRun.commit(j2.exe)",
                              R"(Memo3: START "R1%i%" CMD /C "m2.exe ub:2 wb.rb%i% ")",
                              "chkbSetVoltageRun=unchecked",
                              "sbSetVoltageValueRun=0.80",
                              "SpinBox1=2",
                              "edRigNameRun.commit(R2)",
                              "sbMinerLaunchDelayRun=0",
                              "sbLoopOffset=4",
                              "TabItem7=disabled",
                              "TabItem8=enabled",
                              "tcPoolOrToken=1",
                              "cbChoosePoolConfig.change(-1)",
                              "edPoolURLRun.commit()",
                              "edPoolPortRun.commit()",
                              "edPoolRigNameRun.commit()",
                              R"(Memo3: START "R2%i%" CMD /C "m2.exe  ")",
                              "edPoolWalletRun.commit()",
                              R"(Memo3: START "R2%i%" CMD /C "m2.exe  ")",
                              kPoolCount + "0 configs found",
                              kTokenCount + "5 configs found",
                              R"(Memo3: START "R2%i%" CMD /C "m2.exe  ")",
                          }));
    EXPECT_EQ(f.cbChoosePoolConfig->itemIndex(), -1);
    EXPECT_EQ(f.cbChooseTokenConfig->items(),
              (std::vector<std::string>{"TokA", "TokB", "TokC", "TokD", "TokE"}));
}

// With nothing chosen the pool handler only empties the fields; the preview follows only
// through the fields bound to it, so here (rig name and wallet already empty) it is rebuilt
// once, by the configuration's own load after the counts.
TEST_F(RunPage, ClearingThePoolListDoesNotRebuildThePreviewItself) {
    TForm1& f = *form;
    choose(f.cbBitstreams, "Rig1");
    choose(f.cbChoosePoolConfig, "PoolA");
    EventLog log(
        f, {"cbBitstreams", "cbChoosePoolConfig", "cbChooseTokenConfig", "edPoolURLRun",
            "edPoolPortRun", "edPoolRigNameRun", "edPoolWalletRun", "Memo3", "Label21", "Label45"});
    choose(f.cbBitstreams, "Rig1 Copy");
    EXPECT_EQ(log.take(), (Log{
                              "cbBitstreams.change(2)",
                              "cbChoosePoolConfig.change(-1)",
                              "edPoolURLRun.commit()",
                              "edPoolPortRun.commit()",
                              kPoolCount + "0 configs found",
                              R"(Memo3: START "R1%i%" CMD /C "m1.exe -i 20 ")",
                          }));
}

TEST_F(RunPage, ChoosingATokenConfigurationFillsItsTabAndClearingEmptiesIt) {
    TForm1& f = *form;
    choose(f.cbBitstreams, "Rig2");
    sCurrentConfig = "Rig1";
    EventLog log(f,
                 {"cbBitstreams", "cbChooseTokenConfig", "edTokenFileLocationRun", "edTokenHostRun",
                  "edTokenRPCPortRun", "edTokenWalletRun", "edTokenContractRun", "edTokenSosKeyRun",
                  "sbTokenGasPriceRun", "sbTokenMaxGasPriceRun", "cbTokenGasBiddingRun",
                  "sbTokenBidTopRun", "edChallengeFolderRun", "Memo3"});
    choose(f.cbChooseTokenConfig, "TokA");
    EXPECT_EQ(log.take(), (Log{
                              "cbChooseTokenConfig.change(0)",
                              R"(edTokenFileLocationRun.commit(C:\tok\miner.conf))",
                              "edTokenHostRun.commit(nodehost)",
                              "edTokenRPCPortRun.commit(8545)",
                              "edTokenWalletRun.commit(mywallet)",
                              "edTokenContractRun.commit(mycontract)",
                              "sbTokenGasPriceRun=5",
                              "sbTokenMaxGasPriceRun=7",
                              "cbTokenGasBiddingRun=checked",
                              "sbTokenBidTopRun=3",
                              R"(edChallengeFolderRun.commit(C:\ch))",
                          }));
    commit(f.edTokenSosKeyRun, "typed");
    log.take();
    choose(f.cbBitstreams, "Rig1");
    const Log entries = log.take();
    const Log expected = {
        "cbBitstreams.change(0)",
        "cbChooseTokenConfig.change(-1)",
        "edTokenFileLocationRun.commit()",
        "edTokenHostRun.commit()",
        "edTokenRPCPortRun.commit()",
        "edTokenWalletRun.commit()",
        "edTokenContractRun.commit()",
        "edTokenSosKeyRun.commit()",
        "sbTokenGasPriceRun=1",
        "sbTokenMaxGasPriceRun=1",
        "sbTokenBidTopRun=0",
        "edChallengeFolderRun.commit()",
    };
    // Rig1's own load comes first (its preview lines); the token entries follow in this order.
    Log tokenEntries;
    for (const auto& entry : entries)
        if (!entry.starts_with("Memo3")) tokenEntries.push_back(entry);
    EXPECT_EQ(tokenEntries, expected);
    EXPECT_TRUE(f.cbTokenGasBiddingRun->checked());
}

// Only "0" (or no key) turns bidding off on the run page.
TEST_F(RunPage, GasPriceBiddingIsOffOnlyForZero) {
    TForm1& f = *form;
    choose(f.cbBitstreams, "Rig2");
    const struct {
        const char* token;
        bool checked;
    } cases[] = {{"TokA", true},   // "yes"
                 {"TokB", false},  // "0"
                 {"TokC", true},   // "1"
                 {"TokD", false},  // absent
                 {"TokE", true}};  // stored empty
    for (const auto& c : cases) {
        choose(f.cbChooseTokenConfig, c.token);
        EXPECT_EQ(f.cbTokenGasBiddingRun->checked(), c.checked) << c.token;
    }
}

TEST_F(RunPage, OnlyTheFiveBoundFieldsRebuildThePreview) {
    TForm1& f = *form;
    choose(f.cbBitstreams, "Rig1");
    choose(f.cbChoosePoolConfig, "PoolB");
    std::vector<std::string> bound;
    std::vector<ui::Edit*> edits;
    const std::function<void(ui::Control&)> collect = [&](ui::Control& parent) {
        for (const auto& child : parent.children()) {
            if (child->kind() == ui::Kind::Edit)
                edits.push_back(static_cast<ui::Edit*>(child.get()));
            collect(*child);
        }
    };
    collect(*f.Panel2);
    EventLog log(f, {"Memo3"});
    for (ui::Edit* edit : edits) {
        commit(edit, "by hand " + edit->name());
        if (!log.take().empty()) bound.push_back(edit->name());
    }
    EXPECT_EQ(bound, (std::vector<std::string>{"edBitstreamRun", "edMinerRun", "edJTagRun",
                                               "edPoolRigNameRun", "edPoolWalletRun"}));
    // The unbound fields show at the next rebuild.
    EXPECT_EQ(f.Memo3->text(),
              "START \"by hand edRigNameRun%i%\" CMD /C \"by hand edMinerRun by hand "
              "edMinerParamsRun by hand edPoolURLRunby hand edPoolPortRun by hand "
              "edPoolWalletRunby hand edPoolRigNameRun%i%\"");
}

// An editor page's save can fill the pool and token lists while no configuration is chosen
// here: choosing from them then reads nothing and changes nothing.
TEST_F(RunPage, WithoutAConfigurationNothingIsReadAndThePreviewStays) {
    TForm1& f = *form;
    f.cbChoosePoolConfig->add("PoolA");
    f.cbChooseTokenConfig->add("TokA");
    f.edPoolURLRun->setText("shown");
    f.edTokenHostRun->setText("shown");
    EventLog log(f);
    choose(f.cbChoosePoolConfig, "PoolA");
    choose(f.cbChooseTokenConfig, "TokA");
    commit(f.edMinerRun, "m.exe");
    commit(f.edPoolWalletRun, "w");
    EXPECT_EQ(log.take(), (Log{"cbChoosePoolConfig.change(0)", "cbChooseTokenConfig.change(0)",
                               "edMinerRun.commit(m.exe)", "edPoolWalletRun.commit(w)"}));
    EXPECT_EQ(f.edPoolURLRun->text(), "shown");
    EXPECT_EQ(f.edTokenHostRun->text(), "shown");
    EXPECT_TRUE(f.Memo3->lines().empty());
}

TEST_F(RunPage, WhileASaveIsUpdatingChoosingAConfigurationChangesNothing) {
    TForm1& f = *form;
    bUpdating = true;
    EventLog log(f);
    choose(f.cbBitstreams, "Rig1");
    bUpdating = false;
    EXPECT_EQ(log.take(), (Log{"cbBitstreams.change(0)"}));
    EXPECT_EQ(f.Label21->caption(), "Choose a Pool Configuration (optional)");
    EXPECT_TRUE(f.cbChoosePoolConfig->items().empty());
}

// Reads report no errors: an unreadable file gives the defaults, as an absent one does.
TEST_F(RunPage, AnUnreadableSettingsFileReadsAsAbsent) {
    TForm1& f = *form;
    choose(f.cbBitstreams, "Rig2");
    choose(f.cbChooseTokenConfig, "TokA");
    files.unreadable = true;
    choose(f.cbBitstreams, "Rig1");
    EXPECT_EQ(f.edBitstreamRun->text(), "");
    EXPECT_EQ(f.edMinerRun->text(), "");
    EXPECT_TRUE(f.rbParamsAfterMinerRun->checked());
    EXPECT_FALSE(f.chkbSetVoltageRun->checked());
    EXPECT_EQ(f.sbSetVoltageValueRun->text(), "0.70");
    EXPECT_EQ(f.SpinBox1->text(), "0");
    EXPECT_EQ(f.sbMinerLaunchDelayRun->text(), "0");
    EXPECT_EQ(f.sbLoopOffset->text(), "0");
    EXPECT_EQ(f.edRigNameRun->text(), "");
    // No tab change: Rig2's token tab stays.
    EXPECT_EQ(f.tcPoolOrToken->tabIndex(), 1);
    EXPECT_FALSE(f.TabItem7->enabled());
    EXPECT_TRUE(f.cbChoosePoolConfig->items().empty());
    EXPECT_TRUE(f.cbChooseTokenConfig->items().empty());
    EXPECT_EQ(f.edTokenHostRun->text(), "");
    EXPECT_EQ(f.Label21->caption(), "Choose a Pool Configuration (optional) - 0 configs found");
    EXPECT_EQ(f.Label45->caption(), "Select Existing Token Config (optional) - 0 configs found");
    EXPECT_EQ(f.Memo3->text(), R"(START "%i%" CMD /C "  ")");
}

}  // namespace
}  // namespace morvane::testing
