// The window description: every control of the six pages with its design values.
#include <string>

#include "app/unit1.h"

namespace morvane {

namespace {

using ui::Control;

constexpr int kEditHeight = 23;
constexpr int kLabelHeight = 17;
constexpr int kLabelAbove = 18;  // a field's caption stands this far above it

template <typename T>
T* place(T* control, int x, int y, int width, int height) {
    control->bounds = {x, y, width, height};
    return control;
}

ui::Label* label(Control* parent, std::string name, std::string caption, int x, int y,
                 int width = 300, int height = kLabelHeight) {
    auto* l = place(parent->add<ui::Label>(std::move(name)), x, y, width, height);
    l->setCaption(caption);
    return l;
}

// A note of several lines, wrapped to its width.
ui::Label* note(Control* parent, std::string name, std::string caption, int x, int y, int width,
                int height) {
    ui::Label* l = label(parent, std::move(name), std::move(caption), x, y, width, height);
    l->wordWrap = true;
    return l;
}

// An edit box with its caption above it.
ui::Edit* edit(Control* parent, std::string name, std::string caption, int x, int y, int width) {
    if (!caption.empty()) label(parent, name + "Label", caption, x, y - kLabelAbove, width);
    return place(parent->add<ui::Edit>(std::move(name)), x, y, width, kEditHeight);
}

ui::SpinBox* spin(Control* parent, std::string name, std::string caption, int x, int y, int width,
                  double minimum, double maximum, double value, int decimals = 0, double step = 1) {
    if (!caption.empty()) label(parent, name + "Label", caption, x, y - kLabelAbove, width + 40);
    return place(parent->add<ui::SpinBox>(std::move(name), minimum, maximum, step, decimals, value),
                 x, y, width, kEditHeight);
}

ui::ComboBox* combo(Control* parent, std::string name, int x, int y, int width) {
    return place(parent->add<ui::ComboBox>(std::move(name)), x, y, width, kEditHeight);
}

ui::Button* button(Control* parent, std::string name, std::string caption, int x, int y, int width,
                   int height) {
    auto* b = place(parent->add<ui::Button>(std::move(name)), x, y, width, height);
    b->setCaption(caption);
    return b;
}

// The "..." button beside a path field.
ui::Button* browse(Control* parent, std::string name, const ui::Edit* field) {
    return button(parent, std::move(name), "...", field->bounds.x + field->bounds.width + 6,
                  field->bounds.y - 1, 34, kEditHeight + 2);
}

ui::CheckBox* check(Control* parent, std::string name, std::string caption, int x, int y,
                    int width = 180, int height = 19) {
    auto* c = place(parent->add<ui::CheckBox>(std::move(name)), x, y, width, height);
    c->setCaption(caption);
    return c;
}

ui::RadioButton* radio(Control* parent, std::string name, std::string group, std::string caption,
                       int x, int y, int width = 100) {
    auto* r =
        place(parent->add<ui::RadioButton>(std::move(name), std::move(group)), x, y, width, 19);
    r->setCaption(caption);
    return r;
}

ui::GroupBox* group(Control* parent, std::string name, std::string caption, int x, int y, int width,
                    int height) {
    auto* g = place(parent->add<ui::GroupBox>(std::move(name)), x, y, width, height);
    g->setCaption(caption);
    return g;
}

// Pages 0 to 4 share one layout: a band 90 high holding the main button, and a panel below.
ui::Panel* pagePanel(ui::TabPage* page, std::string name) {
    return place(page->add<ui::Panel>(std::move(name)), 0, 90, 1125, 585);
}

const char* const kPortHint =
    "This will join directly to the pool URL, for example:\r\n"
    "Port 3333 gives mypool.example.com3333\r\n"
    "Port \" 3333\" (a blank in front) gives mypool.example.com 3333\r\n"
    "Port :3333 gives mypool.example.com:3333";

}  // namespace

TForm1::TForm1(ui::Platform& platform)
    : ui::Window("Form1"), platform_(platform), store_(platform) {
    setCaption("Morvane/Launcher - v1.3");
    bounds = {0, 0, 1125, 675};
    buildMenu();

    // The footer is created before the page control, which therefore lies above it.
    Label30 = label(this, "Label30",
                    "Morvane by The Morvane developers - contact: the project's issue tracker", 16,
                    651, 512, 16);

    TabControl1 = place(add<ui::TabControl>("TabControl1", ui::Kind::PageControl), 0, 0, 1125, 675);
    TabItem1 = TabControl1->addTab("TabItem1", "Load Bitstream && Pool");
    TabItem2 = TabControl1->addTab("TabItem2", "Add Configuration");
    TabItem3 = TabControl1->addTab("TabItem3", "Add Pool");
    TabItem11 = TabControl1->addTab("TabItem11", "Add Token");
    TabItem4 = TabControl1->addTab("TabItem4", "View Output");
    TabItem5 = TabControl1->addTab("TabItem5", "About");
    buildRunPage();
    buildConfigurationPage();
    buildPoolPage();
    buildTokenPage();
    buildOutputPage();
    buildAboutPage();

    // Start-up enables these.
    TabControl1->setEnabled(false);
    TabItem1->setEnabled(false);
    TabItem5->setEnabled(false);
    bindHandlers();
}

void TForm1::buildMenu() {
    MainMenu1 = add<ui::MainMenu>("MainMenu1");
    muLoadBitsream = MainMenu1->add<ui::MenuItem>("muLoadBitsream");
    muLoadBitsream->setCaption("Load/Run Bitstream");
    muAddBitstream = MainMenu1->add<ui::MenuItem>("muAddBitstream");
    muAddBitstream->setCaption("Add/Edit Bitstream Config");
    muAddPool = MainMenu1->add<ui::MenuItem>("muAddPool");
    muAddPool->setCaption("Add/Edit Pool Config");
    muAddPool->setVisible(false);
    MenuItem1 = MainMenu1->add<ui::MenuItem>("MenuItem1");
    MenuItem1->setCaption("About Morvane");
}

void TForm1::buildRunPage() {
    Button4 = button(TabItem1, "Button4", "Launch Miner", 40, 8, 209, 49);
    Panel2 = pagePanel(TabItem1, "Panel2");
    Control* p = Panel2;

    label(p, "cbBitstreamsLabel", "Choose a Configuration", 40, 49 - kLabelAbove, 545);
    cbBitstreams = combo(p, "cbBitstreams", 40, 49, 545);
    edBitstreamRun = edit(p, "edBitstreamRun", "Bitstream", 40, 96, 545);
    edMinerRun = edit(p, "edMinerRun", "Miner", 40, 144, 545);
    edMinerParamsRun = edit(p, "edMinerParamsRun", "Miner Params (optional)", 40, 192, 305);
    gbParamsLocationRun =
        group(p, "gbParamsLocationRun", " Location of Params ", 376, 176, 209, 46);
    rbParamsAfterMinerRun =
        radio(gbParamsLocationRun, "rbParamsAfterMinerRun", "1", "After Miner", 8, 19);
    RadioButton2 = radio(gbParamsLocationRun, "RadioButton2", "1", "At the end", 112, 19, 90);
    rbParamsAfterMinerRun->setChecked(true);
    edJTagRun = edit(p, "edJTagRun", "NextJTag (optional)", 40, 256, 305);
    chkbxLoadBitstream = check(p, "chkbxLoadBitstream", "Load Bitstream?", 384, 252, 200);
    chkbSetVoltageRun = check(p, "chkbSetVoltageRun", "Set Voltage?", 386, 283, 94);
    sbSetVoltageValueRun =
        spin(p, "sbSetVoltageValueRun", "", 484, 280, 100, 0.68, 0.85, 0.75, 2, 0.01);
    SpinBox1 = spin(p, "SpinBox1", "Num FPGAs", 40, 384, 89, 0, 100, 1);
    sbMinerLaunchDelayRun =
        spin(p, "sbMinerLaunchDelayRun", "Loop Launch Delay", 152, 384, 89, 0, 100, 1);
    sbLoopOffset = spin(p, "sbLoopOffset", "Offset for Loops", 264, 384, 81, 0, 5000, 1);
    gbLoopSettings = group(p, "gbLoopSettings", " Loop Settings ", 376, 368, 209, 50);
    gbLoopSettings->setHint("Control the looping of the run command");
    rbUseAllFpgas = radio(gbLoopSettings, "rbUseAllFpgas", "5", "Use All FPGAs", 8, 22);
    rbUseAllFpgas->setHint("Set the number of FPGAs to use in the loop command");
    rbUseAllFpgas->setChecked(true);
    rbUseOneFpga = radio(gbLoopSettings, "rbUseOneFpga", "5", "Use 1 FPGA", 112, 22, 90);
    rbUseOneFpga->setHint("Uses No. FPGAs number for Rig Name variable");
    edRigNameRun = edit(p, "edRigNameRun", "Window Title", 264, 440, 321);
    edRigNameRun->setHint("Used to name each CMD window");
    chkbSeperateFilesRun =
        check(p, "chkbSeperateFilesRun", "Separate Instances (with Loop)", 40, 444, 210);
    chkbSeperateFilesRun->setChecked(true);
    Memo3 = place(p->add<ui::Memo>("Memo3"), 40, 488, 1041, 89);
    Memo3->font = {"Courier New", 16};

    tcPoolOrToken = place(p->add<ui::TabControl>("tcPoolOrToken"), 608, 8, 473, 465);
    TabItem7 = tcPoolOrToken->addTab("TabItem7", "Using Pool");
    TabItem8 = tcPoolOrToken->addTab("TabItem8", "Using Token");

    Label21 = label(TabItem7, "Label21", "Choose a Pool Configuration (optional)", 16, 16, 409);
    cbChoosePoolConfig = combo(TabItem7, "cbChoosePoolConfig", 16, 33, 409);
    edPoolURLRun = edit(TabItem7, "edPoolURLRun", "Pool URL", 16, 112, 409);
    edPoolPortRun = edit(TabItem7, "edPoolPortRun", "Port", 16, 168, 409);
    edPoolRigNameRun =
        edit(TabItem7, "edPoolRigNameRun", "Rig Name Format (optional)", 16, 224, 409);
    edPoolWalletRun = edit(TabItem7, "edPoolWalletRun", "Wallet", 16, 280, 409);

    Label45 = label(TabItem8, "Label45", "Select Existing Token Config (optional)", 8, 8, 449);
    cbChooseTokenConfig = combo(TabItem8, "cbChooseTokenConfig", 8, 33, 449);
    edTokenFileLocationRun =
        edit(TabItem8, "edTokenFileLocationRun", "Token File Location", 8, 88, 449);
    edTokenHostRun = edit(TabItem8, "edTokenHostRun", "Host/Pool URL", 8, 136, 217);
    edTokenRPCPortRun = edit(TabItem8, "edTokenRPCPortRun", "RPCPort", 240, 136, 217);
    edTokenRPCPortRun->setHint(kPortHint);
    edTokenContractRun = edit(TabItem8, "edTokenContractRun", "Token Contract ID", 8, 190, 449);
    edTokenWalletRun = edit(TabItem8, "edTokenWalletRun", "Wallet Address", 8, 246, 449);
    edTokenSosKeyRun = edit(TabItem8, "edTokenSosKeyRun", "Solo Private Key", 8, 302, 449);
    sbTokenGasPriceRun = spin(TabItem8, "sbTokenGasPriceRun", "Gas Price", 8, 352, 81, 1, 100, 1);
    sbTokenMaxGasPriceRun =
        spin(TabItem8, "sbTokenMaxGasPriceRun", "Max Gas Price", 112, 352, 81, 1, 100, 5);
    cbTokenGasBiddingRun =
        check(TabItem8, "cbTokenGasBiddingRun", "Gas Price Bidding", 217, 342, 90, 34);
    cbTokenGasBiddingRun->wordWrap = true;
    sbTokenBidTopRun = spin(TabItem8, "sbTokenBidTopRun", "Bid Top", 320, 352, 81, 0, 100, 1);
    edChallengeFolderRun = edit(TabItem8, "edChallengeFolderRun", "Challenge Folder", 8, 398, 449);
}

void TForm1::buildConfigurationPage() {
    Button8 = button(TabItem2, "Button8", "Save && Next", 40, 8, 209, 49);
    Panel1 = pagePanel(TabItem2, "Panel1");
    Control* p = Panel1;

    label(p, "cbAddConfigChoseConfigLabel", "Edit Existing Configuration", 40, 15, 545);
    cbAddConfigChoseConfig = combo(p, "cbAddConfigChoseConfig", 40, 33, 545);
    ebConfigTitle = edit(p, "ebConfigTitle", "Configuration Title", 40, 89, 545);
    ebBitstream = edit(p, "ebBitstream", "Bitstream Location", 40, 137, 505);
    Button1 = browse(p, "Button1", ebBitstream);
    ebMiner = edit(p, "ebMiner", "Miner Location", 40, 185, 505);
    Button2 = browse(p, "Button2", ebMiner);
    ebNextJtTag = edit(p, "ebNextJtTag", "NextJTag Location", 40, 233, 505);
    Button3 = browse(p, "Button3", ebNextJtTag);
    chkbSetVoltageSave = check(p, "chkbSetVoltageSave", "Set Voltage?", 40, 276, 100);
    sbSetVoltageValueSave =
        spin(p, "sbSetVoltageValueSave", "", 148, 274, 100, 0.68, 0.85, 0.75, 2, 0.01);
    ebMinerParams = edit(p, "ebMinerParams", "Miner Params", 40, 329, 545);
    sbNoFpgas = spin(p, "sbNoFpgas", "No. FPGAs", 40, 377, 89, 0, 100, 1);
    sbNoFpgas->setHint(
        "Used to create the right number of miner instances, so set this to the total number of "
        "FPGAs you have");
    note(p, "sbNoFpgasNote", "Used to create the right number of miner instances", 140, 380, 445,
         17);

    gbParamsLocationSave =
        group(p, "gbParamsLocationSave", " Location of Params ", 40, 416, 545, 76);
    rbConfSaveAfterMiner =
        radio(gbParamsLocationSave, "rbConfSaveAfterMiner", "2", "After Miner", 12, 22);
    label(gbParamsLocationSave, "rbConfSaveAfterMinerSample",
          "<miner><params><pool><wallet.... etc>", 130, 24, 400);
    rbConfSaveAtTheEnd =
        radio(gbParamsLocationSave, "rbConfSaveAtTheEnd", "2", "At the end", 12, 48);
    label(gbParamsLocationSave, "rbConfSaveAtTheEndSample", "<miner><pool><wallet.... etc><params>",
          130, 50, 400);

    sbMinerDelaySave = spin(p, "sbMinerDelaySave", "Miner Launch Delay", 640, 33, 89, 0, 100, 1);
    sbMinerDelaySave->setHint("If needed, this will add a delay between each niner launching");
    note(p, "sbMinerDelaySaveNote",
         "A master file is created to start each individual miner instance. Use this setting to "
         "add a delay  in the loop",
         740, 30, 340, 36);

    gbConfigType = group(p, "gbConfigType", " Chose Config Type ", 640, 88, 440, 112);
    rbHasPool = radio(gbConfigType, "rbHasPool", "Token", "Has Pool Config", 12, 22, 200);
    rbHasPool->setChecked(true);
    label(gbConfigType, "rbHasPoolNote", "For miner software that needs a pool URL, port etc", 32,
          42, 400);
    rbHasToken = radio(gbConfigType, "rbHasToken", "Token", "Has Token Config", 12, 64, 200);
    label(gbConfigType, "rbHasTokenNote", "For miner software that has a token ini file", 32, 84,
          400);

    gbRigname = group(p, "gbRigname", " Rigname Settings (pool dependent) ", 640, 216, 440, 220);
    note(gbRigname, "gbRignameNote",
         "Used to create a unique rig name, where supported by the pool. %i% is added to provide "
         "a unique rigname, for each miner instance.",
         12, 22, 416, 34);
    ebFpgaNames = edit(gbRigname, "ebFpgaNames", "Window Title", 12, 84, 416);
    ebFpgaNames->setHint("Used to create a unique rig name where supported by the pool");
    sbLoopOffsetSave =
        spin(gbRigname, "sbLoopOffsetSave", "Offset for Loops", 12, 136, 89, 0, 5000, 0);
    sbLoopOffsetSave->setHint("If you have ");
    note(gbRigname, "sbLoopOffsetSaveNote",
         "If you have 10 FPGAs on one PC, and 10 on another, set this to 10 on the 2nd PC, so you "
         "get rignames 11 to 20",
         12, 168, 416, 34);
}

void TForm1::buildPoolPage() {
    btnSavePoolData = button(TabItem3, "btnSavePoolData", "Save Data", 40, 8, 209, 49);
    Panel4 = pagePanel(TabItem3, "Panel4");
    Control* p = Panel4;

    lbPoolConfTitle = label(p, "lbPoolConfTitle", "Select Existing Pool Config", 40, 15, 545);
    cbAddPoolChosePool = combo(p, "cbAddPoolChosePool", 40, 33, 545);
    ebPoolTitleSave = edit(p, "ebPoolTitleSave", "Pool Config Title", 40, 89, 545);
    ebPoolURLSave = edit(p, "ebPoolURLSave", "Pool URL", 40, 145, 545);
    ebPoolPortSave = edit(p, "ebPoolPortSave", "Port", 40, 201, 545);
    ebPoolPortSave->setHint(kPortHint);
    note(p, "ebPoolPortSaveNote1", "Add a space in front of the port for <pool url><space><port> ",
         600, 196, 480, 17);
    note(p, "ebPoolPortSaveNote2", "For <pool url>.<port> enter .<port>", 600, 214, 480, 17);
    ebPoolWalletSave = edit(p, "ebPoolWalletSave", "Wallet", 40, 257, 545);
    ebPoolRignameSave = edit(p, "ebPoolRignameSave", "Rig Name Format", 40, 313, 545);
    note(p, "ebPoolRignameSaveNote",
         "Used for unique rig naming, where a pool allows it. %i% is added to the name and this "
         "takes the BCU number (from the launch loop) and adds it to the name. So if you add  .Rig "
         "that will show as Rig1...Rig2...Rig3 etc",
         40, 344, 545, 51);
}

void TForm1::buildTokenPage() {
    Button7 = button(TabItem11, "Button7", "Save Data", 40, 8, 209, 49);
    Panel9 = pagePanel(TabItem11, "Panel9");
    Control* p = Panel9;

    Label31 = label(p, "Label31", "Select Existing Token Config", 40, 15, 545);
    cbSelectTokenSave = combo(p, "cbSelectTokenSave", 40, 33, 545);
    edTokenTitleSave = edit(p, "edTokenTitleSave", "Token Config Title", 40, 89, 545);
    edTokenFileLocationSave =
        edit(p, "edTokenFileLocationSave", "Token File Location", 40, 137, 505);
    btnFindTokenFile = browse(p, "btnFindTokenFile", edTokenFileLocationSave);

    // Each value with its search string beside it.
    const auto pair = [&](ui::Edit*& value, const char* valueName, const char* caption,
                          ui::Edit*& search, const char* searchName, const char* defaultSearch,
                          int y) {
        value = edit(p, valueName, caption, 40, y, 330);
        search = edit(p, searchName, "Search String", 400, y, 185);
        search->setText(defaultSearch);
    };
    pair(edTokenHostSave, "edTokenHostSave", "Host/Pool URL", edTokenHostSearchSave,
         "edTokenHostSearchSave", "Host=", 185);
    pair(edTokenRPCPortSave, "edTokenRPCPortSave", "RPCPort", edTokenPortSearchSave,
         "edTokenPortSearchSave", "RPCPort=", 233);
    pair(edTokenWalletSave, "edTokenWalletSave", "Wallet Address", edTokenMinerSearchSave,
         "edTokenMinerSearchSave", "MinerAcct=", 281);
    pair(edTokenContractSave, "edTokenContractSave", "Token Contract ID", edTokenContractSearchSave,
         "edTokenContractSearchSave", "TokenContract=", 329);
    pair(edTokenSoloKeySave, "edTokenSoloKeySave", "Solo Private Key", edTokenSoloKeySearchSave,
         "edTokenSoloKeySearchSave", "Acctpk=", 377);
    for (ui::Edit* hinted : {edTokenRPCPortSave, edTokenPortSearchSave, edTokenContractSearchSave,
                             edTokenSoloKeySearchSave}) {
        hinted->setHint(kPortHint);
    }

    const auto searchAt = [&](const char* name, const char* text, int y) {
        ui::Edit* search = edit(p, name, "Search String", 780, y, 185);
        search->setText(text);
        return search;
    };
    sbTokenGasPriceSave = spin(p, "sbTokenGasPriceSave", "Gas Price", 640, 185, 89, 1, 100, 5);
    edTokenGasPriceSearchSave = searchAt("edTokenGasPriceSearchSave", "GasPrice=", 185);
    CheckBox1 = check(p, "CheckBox1", "Gas Price Bidding", 640, 235, 130);
    edTokenGasPriceBiddingSearchSave =
        searchAt("edTokenGasPriceBiddingSearchSave", "GasPriceBidding=", 233);
    sbTokenMaxGasPriceSave =
        spin(p, "sbTokenMaxGasPriceSave", "Max Gas Price", 640, 281, 89, 1, 100, 5);
    edTokenMaxGasPriceSearchSave = searchAt("edTokenMaxGasPriceSearchSave", "MaxGasPrice=", 281);
    sbTokenGasPriceBidTopSave =
        spin(p, "sbTokenGasPriceBidTopSave", "Bid Top", 640, 329, 89, 0, 100, 0);
    edTokenGasPriceBidTopSearchSave = searchAt("edTokenGasPriceBidTopSearchSave", "BidTop=", 329);

    edTokenChallengeFolderSave =
        edit(p, "edTokenChallengeFolderSave", "Challenge Folder Location", 40, 441, 505);
    Button6 = browse(p, "Button6", edTokenChallengeFolderSave);
    edTokenChallengeFolderSearchSave =
        edit(p, "edTokenChallengeFolderSearchSave", "Search String", 640, 441, 185);
    edTokenChallengeFolderSearchSave->setText("ChallengeFolder=");
    edTokenChallengeFolderSearchSave->setHint(kPortHint);
}

void TForm1::buildOutputPage() {
    Button5 = button(TabItem4, "Button5", "Launch Master File", 40, 8, 209, 42);
    Panel3 = pagePanel(TabItem4, "Panel3");
    TabControl2 = place(Panel3->add<ui::TabControl>("TabControl2"), 40, 0, 1041, 570);
    TabItem6 = TabControl2->addTab("TabItem6", "Master File");
    Memo1 = TabItem6->add<ui::Memo>("Memo1");
    Memo1->fillParent = true;
    Memo1->font = {"Courier New", 0};
}

void TForm1::buildAboutPage() {
    Panel5 = place(TabItem5->add<ui::Panel>("Panel5"), 0, 0, 1125, 675);
    Memo2 = place(Panel5->add<ui::Memo>("Memo2"), (1125 - 1061) / 2, (675 - 577) / 2, 1061, 577);
    Memo2->font = {"", 14};
    Memo2->centred = true;
    Memo2->readOnly = true;
    Memo2->setLines({
        "",
        "Thanks for checking out this utility.",
        "",
        "You are free to use this tool as you wish. If you can produce bitstreams, or hold private "
        "ones, please consider sharing them with the developers in appreciation.",
        "",
        "If you run into problems, contact us through the project's issue tracker.",
        "",
        "Happy Mining",
        "The Morvane developers",
        "",
        "",
        "If this tool is useful to you, please consider a donation to the project; the project's "
        "page says how.",
    });
}

}  // namespace morvane
