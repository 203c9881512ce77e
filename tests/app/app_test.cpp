#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "../store/store_fixture.h"
#include "app/unit1.h"
#include "toolkit/dispatch.h"

namespace morvane::testing {
namespace {

// Dialogs answered from queues and written down in order, files in the store's sandbox.
class RecordingPlatform : public ui::PlatformOnFiles {
  public:
    using PlatformOnFiles::PlatformOnFiles;

    std::vector<std::string> dialogs;
    std::deque<std::optional<std::string>> picks;

    void showMessage(ui::MessageKind kind, const std::string& text) override {
        dialogs.push_back("message " + std::to_string(static_cast<int>(kind)) + ": " + text);
    }
    int askYesNo(const std::string& text) override {
        dialogs.push_back("question: " + text);
        return ui::kAnswerYes;
    }
    void showFailure(const std::string& text) override { dialogs.push_back("failure: " + text); }
    std::optional<std::string> pickFile(const std::string& title) override {
        dialogs.push_back("file picker: " + title);
        return next();
    }
    std::optional<std::string> pickFolder(const std::string& caption,
                                          const std::string& start) override {
        dialogs.push_back("folder picker: " + caption + " in " + start);
        return next();
    }
    void shellOpen(const std::string& path) override { dialogs.push_back("open: " + path); }
    std::string decimalSeparator() const override { return "."; }
    std::string thousandsSeparator() const override { return ","; }

  private:
    std::optional<std::string> next() {
        auto pick = picks.empty() ? std::nullopt : picks.front();
        if (!picks.empty()) picks.pop_front();
        return pick;
    }
};

class Window : public StoreTest {
  protected:
    Window() : platform(files) {}
    TForm1& start() {
        form = startForm1(platform);
        return *form;
    }
    RecordingPlatform platform;
    std::unique_ptr<TForm1> form;
};

TEST_F(Window, StartUpListsTheConfigurationTitles) {
    struct Case {
        std::string file;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"", {}},
        {"[Configuration Titles]\r\nID1=Rig1\r\nID2=Rig2\r\n", {"Rig1", "Rig2"}},
        {"[configuration titles]\r\nID2=B\r\nID1=A=B\r\nID3=\r\nID4=B\r\n", {"B", "A=B", "", "B"}},
        {"[Rig1]\r\nMiner=/*m*/\r\n", {}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(iniPath());
        if (!c.file.empty()) putIni(c.file);
        TForm1& f = start();
        EXPECT_EQ(f.cbBitstreams->items(), c.titles);
        std::vector<std::string> withAddNew = {"Add New"};
        withAddNew.insert(withAddNew.end(), c.titles.begin(), c.titles.end());
        EXPECT_EQ(f.cbAddConfigChoseConfig->items(), withAddNew);
        EXPECT_EQ(f.cbBitstreams->itemIndex(), -1);
        EXPECT_EQ(f.cbAddConfigChoseConfig->itemIndex(), -1);
    }
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Window, StartUpState) {
    putIni("[Configuration Titles]\r\nID1=Rig1\r\n");
    files.unreadable = true;  // reads as no file, and says nothing
    TForm1& f = start();
    EXPECT_TRUE(f.cbBitstreams->items().empty());
    EXPECT_EQ(f.TabControl1->tabIndex(), 0);
    EXPECT_TRUE(f.TabControl1->enabled());
    for (int page = 0; page < 6; ++page) EXPECT_TRUE(f.TabControl1->page(page)->enabled());
    EXPECT_EQ(f.sbLoopOffset->text(), "0");
    EXPECT_EQ(f.caption(), "Morvane/Launcher - v1.3");
    EXPECT_EQ(Form1, &f);
    EXPECT_FALSE(bUpdating);
    EXPECT_EQ(sCurrentConfig, "");
    EXPECT_EQ(sLaunchFileName, "");
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Window, MenuSwitchesPagesAndNothingElse) {
    TForm1& f = start();
    f.edMinerRun->setText("typed");
    std::vector<std::string> bar;
    for (const auto& item : f.MainMenu1->children()) {
        if (item->visible()) bar.push_back(item->caption());
    }
    EXPECT_EQ(bar, (std::vector<std::string>{"Load/Run Bitstream", "Add/Edit Bitstream Config",
                                             "About Morvane"}));
    const std::pair<ui::MenuItem*, int> items[] = {
        {f.MenuItem1, 5}, {f.muAddBitstream, 1}, {f.muAddPool, 2}, {f.muLoadBitsream, 0}};
    for (const auto& [item, page] : items) {
        item->userClick();
        EXPECT_EQ(f.TabControl1->tabIndex(), page) << item->name();
    }
    EXPECT_EQ(f.edMinerRun->text(), "typed");
}

TEST_F(Window, MessagesOfEveryKindReturnTrue) {
    TForm1& f = start();
    for (int kind = 1; kind <= 4; ++kind)
        EXPECT_TRUE(f.MyErrorMessage(kind, "text " + std::to_string(kind)));
    EXPECT_EQ(platform.dialogs,
              (std::vector<std::string>{"message 1: text 1", "message 2: text 2",
                                        "message 3: text 3", "message 4: text 4"}));
}

TEST_F(Window, PickersFillTheirFieldUnlessCancelled) {
    TForm1& f = start();
    struct Case {
        ui::Button* button;
        const char* dialog;
        ui::Edit* field;
    };
    const Case cases[] = {
        {f.Button1, "file picker: Locate Bitstream", f.ebBitstream},
        {f.Button2, "file picker: Locate Mining software", f.ebMiner},
        {f.Button3, "file picker: Locate NextJTag", f.ebNextJtTag},
        {f.btnFindTokenFile, "file picker: Locate Token File", f.edTokenFileLocationSave},
        {f.Button6, "folder picker: Select a directory in C:\\", f.edTokenChallengeFolderSave},
    };
    for (const Case& c : cases) {
        c.field->setText("typed by hand");
        platform.picks = {std::nullopt, "C:\\Chosen\\" + c.button->name()};
        c.button->userClick();
        EXPECT_EQ(c.field->text(), "typed by hand");
        c.button->userClick();
        EXPECT_EQ(c.field->text(), "C:\\Chosen\\" + c.button->name());
        EXPECT_EQ(platform.dialogs, (std::vector<std::string>{c.dialog, c.dialog}));
        platform.dialogs.clear();
    }
}

TEST_F(Window, WrappedValuesGoThroughTheStore) {
    TForm1& f = start();
    EXPECT_TRUE(f.MyWriteIniString("Rig1", "Miner Params", " -i 20 "));
    EXPECT_EQ(f.MyReadIniString("Rig1", "Miner Params", ""), " -i 20 ");
    EXPECT_EQ(f.MyReadIniString("Rig1", "Voltage", ".70"), ".70");
    EXPECT_EQ(ini(), "[Rig1]\r\nMiner Params=/* -i 20 */\r\n");
}

TEST_F(Window, AnUncaughtErrorEndsTheActionAndIsShown) {
    TForm1& f = start();
    files.failReplace = true;
    f.ebMiner->onChange = [&] { f.MyWriteIniString("Rig1", "Miner", f.ebMiner->text()); };
    ui::dispatch(platform, [&] {
        f.ebMiner->setText("C:\\miner.exe");
        f.ebBitstream->setText("not reached");
    });
    EXPECT_EQ(f.ebMiner->text(), "C:\\miner.exe");
    EXPECT_EQ(f.ebBitstream->text(), "");
    EXPECT_EQ(platform.dialogs,
              std::vector<std::string>{"failure: Unable to write to C:\\Launcher\\Morvane.ini"});
}

}  // namespace
}  // namespace morvane::testing
