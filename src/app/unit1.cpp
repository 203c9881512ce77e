#include "app/unit1.h"

#include "toolkit/spin_box.h"

namespace morvane {

TForm1* Form1 = nullptr;
bool bUpdating = false;
std::string sCurrentConfig;
std::string sLaunchFileName;

std::unique_ptr<TForm1> startForm1(ui::Platform& platform) {
    bUpdating = false;
    sCurrentConfig.clear();
    sLaunchFileName.clear();
    ui::locale() = {platform.decimalSeparator(), platform.thousandsSeparator()};
    auto form = std::make_unique<TForm1>(platform);
    Form1 = form.get();
    form->FormCreate(form.get());
    return form;
}

void TForm1::bindHandlers() {
    muLoadBitsream->onClick = [this] { muLoadBitsreamClick(muLoadBitsream); };
    muAddBitstream->onClick = [this] { muAddBitstreamClick(muAddBitstream); };
    muAddPool->onClick = [this] { muAddPoolClick(muAddPool); };
    MenuItem1->onClick = [this] { MenuItem1Click(MenuItem1); };
    Button1->onClick = [this] { LoadBitstream(Button1); };
    Button2->onClick = [this] { LoadMiner(Button2); };
    Button3->onClick = [this] { LoadNextJTage(Button3); };
    btnFindTokenFile->onClick = [this] { btnFindTokenFileClick(btnFindTokenFile); };
    Button6->onClick = [this] { Button6Click(Button6); };
    cbBitstreams->onChange = [this] { LoadConfig(cbBitstreams); };
    cbChoosePoolConfig->onChange = [this] { cbChoosePoolConfigChange(cbChoosePoolConfig); };
    cbChooseTokenConfig->onChange = [this] { LoadTokenForRun(cbChooseTokenConfig); };
    edBitstreamRun->onChange = [this] { ShowScript(edBitstreamRun); };
    edMinerRun->onChange = [this] { ShowScript(edMinerRun); };
    edJTagRun->onChange = [this] { ShowScript(edJTagRun); };
    edPoolRigNameRun->onChange = [this] { ShowScript(edPoolRigNameRun); };
    edPoolWalletRun->onChange = [this] { ShowScript(edPoolWalletRun); };
    cbAddConfigChoseConfig->onChange = [this] { LoadStrem2Edit(cbAddConfigChoseConfig); };
    Button8->onClick = [this] { btnSaveStreamClick(Button8); };
    cbAddPoolChosePool->onChange = [this] { LoadPoolForEditing(cbAddPoolChosePool); };
    btnSavePoolData->onClick = [this] { btnSavePoolDataClick(btnSavePoolData); };
    cbSelectTokenSave->onChange = [this] { LoadTokenForEditing(cbSelectTokenSave); };
    Button7->onClick = [this] { SaveTokenData(Button7); };
    Button4->onClick = [this] { RunCmd(Button4); };
    Button5->onClick = [this] { Button5Click(Button5); };
}

void TForm1::FormCreate(Sender) {
    LoadMasterConfigDropDown();
    TabItem1->setEnabled(true);
    TabItem5->setEnabled(true);
    TabControl1->setEnabled(true);
    sbLoopOffset->setValue(0);
}

void TForm1::LoadMasterConfigDropDown() {
    cbBitstreams->clear();
    cbAddConfigChoseConfig->clear();
    for (const std::string& line : store_.list(kConfigurationTitles)) {
        const std::string title = titleOfListing(line);
        cbBitstreams->add(title);
        cbAddConfigChoseConfig->add(title);
    }
    cbAddConfigChoseConfig->insert(0, "Add New");
}

void TForm1::muLoadBitsreamClick(Sender) { TabControl1->setTabIndex(0); }
void TForm1::muAddBitstreamClick(Sender) { TabControl1->setTabIndex(1); }
void TForm1::muAddPoolClick(Sender) { TabControl1->setTabIndex(2); }
void TForm1::MenuItem1Click(Sender) { TabControl1->setTabIndex(5); }

bool TForm1::MyErrorMessage(int iMsgType, const std::string& sMessage) {
    ui::MessageKind kind = ui::MessageKind::Error;
    if (iMsgType == 2) kind = ui::MessageKind::Information;
    if (iMsgType == 3) kind = ui::MessageKind::Warning;
    if (iMsgType == 4) kind = ui::MessageKind::Confirmation;
    platform_.showMessage(kind, sMessage);
    return true;
}

namespace {

void pickInto(ui::Platform& platform, const std::string& title, ui::Edit* field) {
    if (const auto path = platform.pickFile(title)) field->setText(*path);
}

}  // namespace

void TForm1::LoadBitstream(Sender) { pickInto(platform_, "Locate Bitstream", ebBitstream); }
void TForm1::LoadMiner(Sender) { pickInto(platform_, "Locate Mining software", ebMiner); }
void TForm1::LoadNextJTage(Sender) { pickInto(platform_, "Locate NextJTag", ebNextJtTag); }
void TForm1::btnFindTokenFileClick(Sender) {
    pickInto(platform_, "Locate Token File", edTokenFileLocationSave);
}

void TForm1::Button6Click(Sender) {
    if (const auto folder = platform_.pickFolder("Select a directory", "C:\\")) {
        edTokenChallengeFolderSave->setText(*folder);
    }
}

bool TForm1::MyWriteIniString(const std::string& sSection, const std::string& sIdent,
                              const std::string& sValue) {
    store_.writeWrapped(sSection, sIdent, sValue);
    return true;
}

std::string TForm1::MyReadIniString(const std::string& sSection, const std::string& sIdent,
                                    const std::string& sValue) {
    return store_.readWrapped(sSection, sIdent, sValue);
}

}  // namespace morvane
