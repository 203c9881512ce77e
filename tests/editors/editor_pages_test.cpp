// The editor pages' saves as event logs: every dialog, every change the settings file receives,
// and every list, field, caption and page change, in the order they happen. Then a refused
// write at each step of each save.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
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

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

const char* const kSettingsPath = "C:\\Launcher\\Morvane.ini";

// The scenario platform, noting in the log each dialog as a check would name it (with the state
// of bUpdating while it is open) and each change of the settings file as the lines it added or
// changed ("ini: ID1=Rig1"). It keeps the file's content after every change, and refuses every
// change from the `refuseFrom`-th attempt on, as a disk that has filled up would.
class LoggingPlatform : public uiscript::ScriptedPlatform {
  public:
    using ScriptedPlatform::ScriptedPlatform;
    Log* log = nullptr;
    std::optional<int> refuseFrom;
    std::vector<std::string> contents;  // after each change that landed
    int attempts = 0;

    void showMessage(ui::MessageKind kind, const std::string& text) override {
        note({uiscript::Dialog::Type::Message, kind, text, {}});
        ScriptedPlatform::showMessage(kind, text);
    }
    int askYesNo(const std::string& text) override {
        note({uiscript::Dialog::Type::Question, {}, text, {}});
        return ScriptedPlatform::askYesNo(text);
    }
    void showFailure(const std::string& text) override {
        note({uiscript::Dialog::Type::Failure, {}, text, {}});
        ScriptedPlatform::showFailure(text);
    }
    bool writeFile(const std::string& path, std::string_view bytes) override {
        if (path != kSettingsPath) return ScriptedPlatform::writeFile(path, bytes);
        return change([&] { return ScriptedPlatform::writeFile(path, bytes); });
    }
    ReplaceResult replaceFile(const std::string& from, const std::string& to) override {
        if (to != kSettingsPath) return ScriptedPlatform::replaceFile(from, to);
        ReplaceResult result = ReplaceResult::Failed;
        change([&] {
            result = ScriptedPlatform::replaceFile(from, to);
            return result == ReplaceResult::Done;
        });
        return result;
    }

  private:
    void note(const uiscript::Dialog& dialog) {
        if (log) log->push_back(dialog.describe() + (bUpdating ? " (bUpdating)" : ""));
    }

    template <typename Operation>
    bool change(Operation operation) {
        ++attempts;
        if (refuseFrom && attempts >= *refuseFrom) return false;
        std::string before;
        readFile(kSettingsPath, before);
        if (!operation()) return false;
        std::string after;
        readFile(kSettingsPath, after);
        contents.push_back(after);
        if (!log) return true;
        // The lines between the unchanged beginning and the unchanged end.
        const auto old = linesOf(before);
        const auto now = linesOf(after);
        size_t first = 0;
        while (first < old.size() && first < now.size() && old[first] == now[first]) ++first;
        size_t last = now.size();
        for (size_t kept = old.size();
             last > first && kept > first && old[kept - 1] == now[last - 1]; --kept) {
            --last;
        }
        std::string changed;
        for (size_t i = first; i < last; ++i) changed += (changed.empty() ? "" : " | ") + now[i];
        log->push_back("ini: " + (changed.empty() ? std::string("unchanged") : changed));
        return true;
    }
};

// Notes what the view would be told about the watched controls: list entries, fields, check
// marks, captions and the page shown; and each list's change handler with its selection.
class EventLog : public ui::ViewObserver {
  public:
    EventLog(TForm1& form, Log& entries, std::set<std::string> watched)
        : entries_(entries), watched_(std::move(watched)) {
        for (ui::ComboBox* box :
             {form.cbAddConfigChoseConfig, form.cbBitstreams, form.cbAddPoolChosePool,
              form.cbChoosePoolConfig, form.cbSelectTokenSave, form.cbChooseTokenConfig}) {
            box->onChange = [this, box, inner = box->onChange] {
                note(*box, ".change(" + std::to_string(box->itemIndex()) + ")");
                if (inner) inner();
            };
        }
        form.setObserver(this);
    }

    void controlChanged(ui::Control& control) override {
        std::string what;
        switch (control.kind()) {
            case ui::Kind::ComboBox: {
                for (const std::string& item : static_cast<ui::ComboBox&>(control).items())
                    what += (what.empty() ? "" : ",") + item;
                what = "=[" + what + "]";
                break;
            }
            case ui::Kind::Edit:
                what = "=" + static_cast<ui::Edit&>(control).text();
                break;
            case ui::Kind::SpinBox:
                what = "=" + static_cast<ui::SpinBox&>(control).text();
                break;
            case ui::Kind::CheckBox:
                what = static_cast<ui::CheckBox&>(control).checked() ? "=checked" : "=unchecked";
                break;
            case ui::Kind::RadioButton:
                what = static_cast<ui::RadioButton&>(control).checked() ? "=checked" : "=unchecked";
                break;
            case ui::Kind::Label:
                what = "=" + control.caption();
                break;
            case ui::Kind::PageControl:
                what = "=page " + std::to_string(static_cast<ui::TabControl&>(control).tabIndex());
                break;
            default:
                return;
        }
        // A spin box reports a new value twice (the value, then its text): one entry.
        if (!entries_.empty() && entries_.back() == control.name() + what) return;
        note(control, what);
    }
    void controlRemoved(ui::Control&) override {}
    void controlAdded(ui::Control&) override {}

  private:
    void note(const ui::Control& control, const std::string& what) {
        if (watched_.contains(control.name())) entries_.push_back(control.name() + what);
    }

    Log& entries_;
    std::set<std::string> watched_;
};

// Rig1 has two pool configurations, Rig2 one token configuration. Rig1's record was last saved
// as token-based with other values, so every key a save writes changes a line.
const char* const kSettings =
    "[Configuration Titles]\r\nID1=Rig1\r\nID2=Rig2\r\n"
    "[Rig1]\r\nMiner=/*old.exe*/\r\nHas Pool=/*0*/\r\nHas Token=/*1*/\r\n"
    "[Rig1 Pools]\r\nID1=PoolA\r\nID2=PoolB\r\n"
    "[Rig1PoolA]\r\nConfig Title=PoolA\r\nPool URL=/*ua*/\r\nPool Port=/*:1*/\r\n"
    "Pool Wallet=/*wa*/\r\nPool Rig Name=/*.ra*/\r\n"
    "[Rig2]\r\nMiner=/*m2.exe*/\r\nHas Pool=/*0*/\r\nHas Token=/*1*/\r\n"
    "[Rig2 Tokens]\r\nID1=TokA\r\n"
    "[Rig2TokA]\r\nConfig Title=TokA\r\nTokenHost=/*old*/\r\n";

const Log kFilledRecord = {
    "ini: Bitstream=/*b.bit*/",
    "ini: Miner=/*m.exe*/",
    "ini: Miner Params Location=/*After Miner*/",
    "ini: Miner Params=/*-p*/",
    "ini: NextJTag Location=/*j.exe*/",
    "ini: Set Voltage=/*No*/",
    "ini: Voltage=/*0.70*/",
    "ini: Number BCUs=/*0*/",
    "ini: FPGA Name Prefix=/*R*/",
    "ini: Miner Launch Delay=/*0*/",
    "ini: Rigname Offset=/*0*/",
};

// `parts` one after the other.
Log joined(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class EditorPages : public StoreTest {
  protected:
    EditorPages() { restart(); }

    // A fresh program on the sample settings file.
    void restart() {
        form.reset();
        putIni(kSettings);
        platform = std::make_unique<LoggingPlatform>(files, "C:\\Launcher\\morvane.exe");
        form = startForm1(*platform);
    }

    // The user's actions, delivered as the window delivers them.
    void choose(ui::ComboBox* box, const std::string& entry) {
        const auto& items = box->items();
        const auto found = std::find(items.begin(), items.end(), entry);
        ASSERT_NE(found, items.end()) << entry;
        ui::dispatch(*platform, [&] { box->userSelect(static_cast<int>(found - items.begin())); });
    }
    void commit(ui::Edit* field, const std::string& text) {
        ui::dispatch(*platform, [&] { field->setText(text); });
    }
    void click(ui::Button* button) {
        ui::dispatch(*platform, [&] { button->userClick(); });
    }

    // From here on, dialogs and settings file changes go into `log` too.
    void logDialogsAndWrites() { platform->log = &log; }

    // The configuration page filled in to pass every check, pool-based, over a record loaded with
    // the page's defaults; kFilledRecord is what its save then writes from "Bitstream" to
    // "Rigname Offset".
    void fillConfigurationPage(const std::string& title) {
        TForm1& f = *form;
        commit(f.ebConfigTitle, title);
        commit(f.ebBitstream, "b.bit");
        commit(f.ebMiner, "m.exe");
        commit(f.ebNextJtTag, "j.exe");
        commit(f.ebMinerParams, "-p");
        commit(f.ebFpgaNames, "R");
        ui::dispatch(*platform, [&] { f.rbConfSaveAfterMiner->userClick(); });
        ui::dispatch(*platform, [&] { f.rbHasPool->userClick(); });
    }

    Log log;
    std::unique_ptr<LoggingPlatform> platform;
    std::unique_ptr<TForm1> form;
};

// The record goes in before the lists; the refill, which empties the pool page's and the run
// page's chosen entries, runs after the current configuration is the saved title (rig1 names
// Rig1's sections: section names ignore letter case) and after "Has Pool"; then the message
// and the page.
TEST_F(EditorPages, ConfigurationSaveWritesThenListsThenRefillsThenReportsAndLeadsOn) {
    TForm1& f = *form;
    // The pool page as Rig2's save left it, with an entry chosen and a title typed.
    sCurrentConfig = "Rig2";
    f.AddNewPoolTitles(nullptr);
    choose(f.cbAddPoolChosePool, "Add New");
    commit(f.ebPoolTitleSave, "typed");
    choose(f.cbBitstreams, "Rig1");
    choose(f.cbChoosePoolConfig, "PoolA");
    choose(f.cbAddConfigChoseConfig, "Rig2");
    fillConfigurationPage("rig1");
    f.TabControl1->setTabIndex(1);
    // Watched but never changed: the run page's token list and its pool count.
    EventLog events(f, log,
                    {"cbAddConfigChoseConfig", "cbBitstreams", "cbAddPoolChosePool",
                     "cbChoosePoolConfig", "cbChooseTokenConfig", "ebPoolTitleSave", "edPoolURLRun",
                     "lbPoolConfTitle", "Label21", "TabControl1"});
    logDialogsAndWrites();
    click(f.Button8);
    EXPECT_EQ(log, joined({{"ini: ID3=rig1"},
                           kFilledRecord,
                           {
                               "cbAddConfigChoseConfig=[Add New,Rig1,Rig2,rig1]",
                               "cbBitstreams=[Rig1,Rig2,rig1]",
                               "ini: Has Pool=/*1*/",
                               "ini: Has Token=/*0*/",
                               "cbAddPoolChosePool=[]",
                               "cbAddPoolChosePool.change(-1)",
                               "ebPoolTitleSave=",
                               "cbChoosePoolConfig=[]",
                               "cbChoosePoolConfig.change(-1)",
                               "edPoolURLRun=",
                               "cbAddPoolChosePool=[PoolA]",
                               "cbChoosePoolConfig=[PoolA]",
                               "cbAddPoolChosePool=[PoolA,PoolB]",
                               "cbChoosePoolConfig=[PoolA,PoolB]",
                               "cbAddPoolChosePool=[Add New,PoolA,PoolB]",
                               "lbPoolConfTitle=Select Existing Pool Config - 2 configs found",
                               R"(message information "Config Saved")",
                               "TabControl1=page 2",
                           }}));
    EXPECT_EQ(sCurrentConfig, "rig1");
    EXPECT_EQ(f.cbBitstreams->itemIndex(), 0);
}

// A replacement is listed once; bUpdating is set from the answer to the list step only.
TEST_F(EditorPages, ConfigurationSaveReplacingKeepsTheEntryAndTheLists) {
    TForm1& f = *form;
    choose(f.cbAddConfigChoseConfig, "Rig2");
    fillConfigurationPage("Rig2");
    ui::dispatch(*platform, [&] { f.rbHasToken->userClick(); });
    f.TabControl1->setTabIndex(1);
    // Watched but never changed: the configuration lists and the run page's token count.
    EventLog events(f, log,
                    {"cbAddConfigChoseConfig", "cbBitstreams", "cbSelectTokenSave",
                     "cbChooseTokenConfig", "Label31", "Label45", "TabControl1"});
    logDialogsAndWrites();
    platform->queueAnswer(true);
    click(f.Button8);
    EXPECT_EQ(log, joined({{
                               R"(question "Update existing Config?")",
                               "ini: unchanged",  // ID2=Rig2 where it stood
                           },
                           kFilledRecord,
                           {
                               "ini: unchanged",  // "Has Pool" 0
                               "ini: unchanged",  // "Has Token" 1
                               "cbSelectTokenSave=[TokA]",
                               "cbChooseTokenConfig=[TokA]",
                               "cbSelectTokenSave=[Add New,TokA]",
                               "Label31=Select Existing Token Config - 1 configs found",
                               R"(message information "Config Saved")",
                               "TabControl1=page 3",
                           }}));
    EXPECT_FALSE(bUpdating);
}

// The pool page reports before it lists the new title and counts it.
TEST_F(EditorPages, PoolSaveReportsBeforeTheListStep) {
    TForm1& f = *form;
    sCurrentConfig = "Rig1";
    f.AddNewPoolTitles(nullptr);
    choose(f.cbBitstreams, "Rig1");
    commit(f.ebPoolTitleSave, "PoolC");
    commit(f.ebPoolURLSave, "uc");
    commit(f.ebPoolPortSave, " 3");
    commit(f.ebPoolWalletSave, "wc");
    f.TabControl1->setTabIndex(2);
    EventLog events(f, log,
                    {"cbAddPoolChosePool", "cbChoosePoolConfig", "lbPoolConfTitle", "TabControl1"});
    logDialogsAndWrites();
    click(f.btnSavePoolData);
    EXPECT_EQ(log, (Log{
                       "ini: ID3=PoolC",
                       "ini: [Rig1PoolC] | Config Title=PoolC",
                       "ini: Pool URL=/*uc*/",
                       "ini: Pool Port=/* 3*/",
                       "ini: Pool Wallet=/*wc*/",
                       "ini: Pool Rig Name=/**/",
                       R"(message information "Config Saved")",
                       "cbAddPoolChosePool=[Add New,PoolA,PoolB,PoolC]",
                       "lbPoolConfTitle=Select Existing Pool Config - 3 configs found",
                       "TabControl1=page 0",
                   }));
    EXPECT_EQ(linesOf(ini()).back(), "Pool Rig Name=/**/");

    // Replacing: the question first, the message while the replacement is under way, no list
    // change, and the caption counts each title once.
    choose(f.cbAddPoolChosePool, "PoolA");
    commit(f.ebPoolWalletSave, "new");
    f.TabControl1->setTabIndex(2);
    log.clear();
    platform->queueAnswer(true);
    click(f.btnSavePoolData);
    EXPECT_EQ(log, (Log{
                       R"(question "Update existing Pool config?")",
                       "ini: unchanged",
                       "ini: unchanged",
                       "ini: unchanged",
                       "ini: unchanged",
                       "ini: Pool Wallet=/*new*/",
                       "ini: unchanged",
                       R"(message information "Config Saved" (bUpdating))",
                       "TabControl1=page 0",
                   }));
    EXPECT_FALSE(bUpdating);
    EXPECT_EQ(f.lbPoolConfTitle->caption(), "Select Existing Pool Config - 3 configs found");
}

// The token page lists and counts the new title before it reports.
TEST_F(EditorPages, TokenSaveListsBeforeItReports) {
    TForm1& f = *form;
    sCurrentConfig = "Rig2";
    f.AddTokenConfigs(nullptr);
    choose(f.cbBitstreams, "Rig2");
    commit(f.edTokenTitleSave, "TokB");
    f.TabControl1->setTabIndex(3);
    EventLog events(f, log, {"cbSelectTokenSave", "cbChooseTokenConfig", "Label31", "TabControl1"});
    logDialogsAndWrites();
    click(f.Button7);
    Log expected = {"ini: ID2=TokB", "ini: [Rig2TokB] | Config Title=TokB"};
    for (const char* line : {"Token File Location=/**/",
                             "TokenHost=/**/",
                             "TokenHostSearch=/*Host=*/",
                             "TokenRPCPort=/**/",
                             "TokenRPCPortSearch=/*RPCPort=*/",
                             "TokenWallet=/**/",
                             "TokenWalletSearch=/*MinerAcct=*/",
                             "TokenContract=/**/",
                             "TokenContractSearch=/*TokenContract=*/",
                             "TokenSoloKey=/**/",
                             "TokenSoloKeySearch=/*Acctpk=*/",
                             "TokenGasPrice=/*5*/",
                             "TokenGasPriceSearch=/*GasPrice=*/",
                             "TokenGasPriceBidding=/*0*/",
                             "TokenGasPriceBiddingSearch=/*GasPriceBidding=*/",
                             "TokenMaxGasPrice=/*5*/",
                             "TokenMaxGasPriceSearch=/*MaxGasPrice=*/",
                             "TokenBidTop=/*0*/",
                             "TokenBidTopSearch=/*BidTop=*/",
                             "TokenChallangeFolder=/**/",
                             "TokenChallangeFolderSearch=/*ChallengeFolder=*/"}) {
        expected.push_back(std::string("ini: ") + line);
    }
    expected.insert(expected.end(), {
                                        "cbSelectTokenSave=[Add New,TokA,TokB]",
                                        "Label31=Select Existing Token Config - 2 configs found",
                                        R"(message information "Config Saved")",
                                        "TabControl1=page 0",
                                    });
    EXPECT_EQ(log, expected);
    // The run page's token list is the configuration's business.
    EXPECT_EQ(f.cbChooseTokenConfig->items(), (std::vector<std::string>{"TokA"}));

    choose(f.cbSelectTokenSave, "TokB");
    f.TabControl1->setTabIndex(3);
    log.clear();
    platform->queueAnswer(true);
    click(f.Button7);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), R"(question "Update existing Token file?")");
    // Cleared at the list step, before the message.
    EXPECT_EQ(log[log.size() - 2], R"(message information "Config Saved")");
    EXPECT_EQ(f.cbSelectTokenSave->items(), (std::vector<std::string>{"Add New", "TokA", "TokB"}));
}

// A refused write ends each save at that write: what went before stays in the file, no
// "Config Saved", the page stays, and bUpdating is clear again, so the list and loading
// handlers still work. The configuration save's lists and current configuration change only
// once its record is written.
TEST_F(EditorPages, ARefusedWriteEndsEachSaveAtThatWrite) {
    struct Save {
        const char* name;
        int writes;  // what a save that completes writes
        std::function<void()> prepare;
        ui::Button* (*button)(TForm1&);
        int page;
        bool newConfiguration = false;
    };
    const std::vector<Save> saves = {
        {"configuration, replacing", 14,
         [this] {
             choose(form->cbAddConfigChoseConfig, "Rig1");
             fillConfigurationPage("Rig1");
             platform->queueAnswer(true);
         },
         [](TForm1& f) { return f.Button8; }, 1},
        {"configuration, new", 14, [this] { fillConfigurationPage("Rig3"); },
         [](TForm1& f) { return f.Button8; }, 1, true},
        {"pool, replacing", 6,
         [this] {
             sCurrentConfig = "Rig1";
             form->AddNewPoolTitles(nullptr);
             choose(form->cbAddPoolChosePool, "PoolB");
             commit(form->ebPoolTitleSave, "PoolB");
             commit(form->ebPoolURLSave, "ub");
             commit(form->ebPoolPortSave, ":2");
             commit(form->ebPoolWalletSave, "wb");
             commit(form->ebPoolRignameSave, ".rb");
             platform->queueAnswer(true);
         },
         [](TForm1& f) { return f.btnSavePoolData; }, 2},
        {"token, replacing", 23,
         [this] {
             sCurrentConfig = "Rig2";
             form->AddTokenConfigs(nullptr);
             choose(form->cbSelectTokenSave, "TokA");
             commit(form->edTokenHostSave, "new");
             platform->queueAnswer(true);
         },
         [](TForm1& f) { return f.Button7; }, 3},
    };
    for (const Save& save : saves) {
        // What the settings file holds after each write of a save that completes.
        restart();
        save.prepare();
        click(save.button(*form));
        ASSERT_EQ(platform->contents.size(), static_cast<size_t>(save.writes)) << save.name;
        const std::vector<std::string> after = platform->contents;

        for (int refused = 1; refused <= save.writes; ++refused) {
            SCOPED_TRACE(std::string(save.name) + ", write " + std::to_string(refused));
            restart();
            save.prepare();
            TForm1& f = *form;
            form->TabControl1->setTabIndex(save.page);
            const auto configurations = f.cbBitstreams->items();
            const auto pools = f.cbAddPoolChosePool->items();
            const auto tokens = f.cbSelectTokenSave->items();
            const std::string current = sCurrentConfig;
            platform->refuseFrom = platform->attempts + refused;
            logDialogsAndWrites();
            click(save.button(f));

            ASSERT_FALSE(log.empty());
            EXPECT_EQ(log.back(), R"(failure "Unable to write to C:\\Launcher\\Morvane.ini")");
            for (const std::string& entry : log)
                EXPECT_EQ(entry.find("Config Saved"), std::string::npos);
            log.clear();
            EXPECT_EQ(ini(), refused == 1 ? std::string(kSettings) : after[refused - 2]);
            EXPECT_EQ(f.TabControl1->tabIndex(), save.page);
            EXPECT_FALSE(bUpdating);
            EXPECT_EQ(f.cbAddPoolChosePool->items(), pools);
            EXPECT_EQ(f.cbSelectTokenSave->items(), tokens);
            // Only "Has Pool" and "Has Token" come after the configuration save's list step.
            const bool listed = save.page == 1 && refused > 12;
            EXPECT_EQ(f.cbBitstreams->items().size(),
                      configurations.size() + (listed && save.newConfiguration ? 1 : 0));
            EXPECT_EQ(sCurrentConfig, listed ? f.ebConfigTitle->text() : current);

            // The handlers that bUpdating switches off still run.
            choose(f.cbBitstreams, "Rig1");
            EXPECT_EQ(f.cbChoosePoolConfig->items(), (std::vector<std::string>{"PoolA", "PoolB"}));
        }
    }
}

// Reached only by the user's choice; without one there is nothing to load.
TEST_F(EditorPages, LoadStrem2EditWithoutAChoiceDoesNothing) {
    TForm1& f = *form;
    sCurrentConfig = "Rig1";
    commit(f.ebConfigTitle, "typed");
    f.LoadStrem2Edit(nullptr);
    EXPECT_EQ(sCurrentConfig, "Rig1");
    EXPECT_EQ(f.ebConfigTitle->text(), "typed");
}

}  // namespace
}  // namespace morvane::testing
