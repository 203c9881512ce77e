#pragma once

#include <memory>
#include <string>

#include "launch/command_line.h"
#include "launch/launch_scripts.h"
#include "store/settings_store.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/control.h"
#include "toolkit/edit.h"
#include "toolkit/menu.h"
#include "toolkit/platform.h"
#include "toolkit/spin_box.h"
#include "toolkit/tab_control.h"

namespace morvane {

using Sender = ui::Control*;

// The main window: every control of the six pages and every handler as a method.
class TForm1 : public ui::Window {
  public:
    // Creates every control at its design value (the window description).
    explicit TForm1(ui::Platform& platform);

    ui::Platform& platform() { return platform_; }

    // Start-up and the menu.
    void FormCreate(Sender sender);
    void LoadMasterConfigDropDown();
    void muLoadBitsreamClick(Sender sender);
    void muAddBitstreamClick(Sender sender);
    void muAddPoolClick(Sender sender);
    void MenuItem1Click(Sender sender);

    // Messages and pickers.
    bool MyErrorMessage(int iMsgType, const std::string& sMessage);
    void LoadBitstream(Sender sender);
    void LoadMiner(Sender sender);
    void LoadNextJTage(Sender sender);
    void btnFindTokenFileClick(Sender sender);
    void Button6Click(Sender sender);

    // Run page and its command preview.
    void LoadConfig(Sender sender);
    void LoadPoolConfigDropDown();
    void cbChoosePoolConfigChange(Sender sender);
    void LoadTokenForRun(Sender sender);
    void ShowScript(Sender sender);
    // The run page's texts of a miner start line; whether the pool form applies is the
    // caller's to say (the preview and the launch decide it differently).
    launch::StartLineParts startLineParts(bool usePool) const;

    // Configuration page.
    void LoadStrem2Edit(Sender sender);
    // True when the page must not be saved; shows its own messages.
    bool CheckB4Save();
    void btnSaveStreamClick(Sender sender);

    // Pool configuration page.
    void AddNewPoolTitles(Sender sender);
    void LoadPoolForEditing(Sender sender);
    // True when the page must not be saved; shows its own messages.
    bool CheckB4SavePool();
    void btnSavePoolDataClick(Sender sender);

    // Token configuration page.
    void AddTokenConfigs(Sender sender);
    void LoadTokenForEditing(Sender sender);
    void SaveTokenData(Sender sender);
    // "Launch Miner", the output page and the token file rewrite.
    void RunCmd(Sender sender);
    void Button5Click(Sender sender);
    void EditTokenFile();
    // What a launch takes from the run page, with the pool or token configuration in use.
    launch::LaunchInput launchInput(bool usePool, bool useToken) const;

    // The settings file's wrapped values.
    bool MyWriteIniString(const std::string& sSection, const std::string& sIdent,
                          const std::string& sValue);
    std::string MyReadIniString(const std::string& sSection, const std::string& sIdent,
                                const std::string& sValue);

    // Window frame.
    ui::MainMenu* MainMenu1;
    ui::MenuItem* muLoadBitsream;
    ui::MenuItem* muAddBitstream;
    ui::MenuItem* muAddPool;
    ui::MenuItem* MenuItem1;
    ui::Label* Label30;
    ui::TabControl* TabControl1;
    ui::TabPage* TabItem1;
    ui::TabPage* TabItem2;
    ui::TabPage* TabItem3;
    ui::TabPage* TabItem11;
    ui::TabPage* TabItem4;
    ui::TabPage* TabItem5;

    // Run page (page 0).
    ui::Button* Button4;
    ui::Panel* Panel2;
    ui::ComboBox* cbBitstreams;
    ui::Edit* edBitstreamRun;
    ui::Edit* edMinerRun;
    ui::Edit* edMinerParamsRun;
    ui::GroupBox* gbParamsLocationRun;
    ui::RadioButton* rbParamsAfterMinerRun;
    ui::RadioButton* RadioButton2;
    ui::Edit* edJTagRun;
    ui::CheckBox* chkbxLoadBitstream;
    ui::CheckBox* chkbSetVoltageRun;
    ui::SpinBox* sbSetVoltageValueRun;
    ui::SpinBox* SpinBox1;
    ui::SpinBox* sbMinerLaunchDelayRun;
    ui::SpinBox* sbLoopOffset;
    ui::GroupBox* gbLoopSettings;
    ui::RadioButton* rbUseAllFpgas;
    ui::RadioButton* rbUseOneFpga;
    ui::Edit* edRigNameRun;
    ui::CheckBox* chkbSeperateFilesRun;
    ui::Memo* Memo3;
    ui::TabControl* tcPoolOrToken;
    ui::TabPage* TabItem7;
    ui::TabPage* TabItem8;
    ui::Label* Label21;
    ui::ComboBox* cbChoosePoolConfig;
    ui::Edit* edPoolURLRun;
    ui::Edit* edPoolPortRun;
    ui::Edit* edPoolRigNameRun;
    ui::Edit* edPoolWalletRun;
    ui::Label* Label45;
    ui::ComboBox* cbChooseTokenConfig;
    ui::Edit* edTokenFileLocationRun;
    ui::Edit* edTokenHostRun;
    ui::Edit* edTokenRPCPortRun;
    ui::Edit* edTokenContractRun;
    ui::Edit* edTokenWalletRun;
    ui::Edit* edTokenSosKeyRun;
    ui::SpinBox* sbTokenGasPriceRun;
    ui::SpinBox* sbTokenMaxGasPriceRun;
    ui::CheckBox* cbTokenGasBiddingRun;
    ui::SpinBox* sbTokenBidTopRun;
    ui::Edit* edChallengeFolderRun;

    // Configuration page (page 1).
    ui::Button* Button8;
    ui::Panel* Panel1;
    ui::ComboBox* cbAddConfigChoseConfig;
    ui::Edit* ebConfigTitle;
    ui::Edit* ebBitstream;
    ui::Button* Button1;
    ui::Edit* ebMiner;
    ui::Button* Button2;
    ui::Edit* ebNextJtTag;
    ui::Button* Button3;
    ui::CheckBox* chkbSetVoltageSave;
    ui::SpinBox* sbSetVoltageValueSave;
    ui::Edit* ebMinerParams;
    ui::SpinBox* sbNoFpgas;
    ui::GroupBox* gbParamsLocationSave;
    ui::RadioButton* rbConfSaveAfterMiner;
    ui::RadioButton* rbConfSaveAtTheEnd;
    ui::SpinBox* sbMinerDelaySave;
    ui::GroupBox* gbConfigType;
    ui::RadioButton* rbHasPool;
    ui::RadioButton* rbHasToken;
    ui::GroupBox* gbRigname;
    ui::Edit* ebFpgaNames;
    ui::SpinBox* sbLoopOffsetSave;

    // Pool configuration page (page 2).
    ui::Button* btnSavePoolData;
    ui::Panel* Panel4;
    ui::Label* lbPoolConfTitle;
    ui::ComboBox* cbAddPoolChosePool;
    ui::Edit* ebPoolTitleSave;
    ui::Edit* ebPoolURLSave;
    ui::Edit* ebPoolPortSave;
    ui::Edit* ebPoolWalletSave;
    ui::Edit* ebPoolRignameSave;

    // Token configuration page (page 3).
    ui::Button* Button7;
    ui::Panel* Panel9;
    ui::Label* Label31;
    ui::ComboBox* cbSelectTokenSave;
    ui::Edit* edTokenTitleSave;
    ui::Edit* edTokenFileLocationSave;
    ui::Button* btnFindTokenFile;
    ui::Edit* edTokenHostSave;
    ui::Edit* edTokenHostSearchSave;
    ui::Edit* edTokenRPCPortSave;
    ui::Edit* edTokenPortSearchSave;
    ui::Edit* edTokenWalletSave;
    ui::Edit* edTokenMinerSearchSave;
    ui::Edit* edTokenContractSave;
    ui::Edit* edTokenContractSearchSave;
    ui::Edit* edTokenSoloKeySave;
    ui::Edit* edTokenSoloKeySearchSave;
    ui::SpinBox* sbTokenGasPriceSave;
    ui::Edit* edTokenGasPriceSearchSave;
    ui::CheckBox* CheckBox1;
    ui::Edit* edTokenGasPriceBiddingSearchSave;
    ui::SpinBox* sbTokenMaxGasPriceSave;
    ui::Edit* edTokenMaxGasPriceSearchSave;
    ui::SpinBox* sbTokenGasPriceBidTopSave;
    ui::Edit* edTokenGasPriceBidTopSearchSave;
    ui::Edit* edTokenChallengeFolderSave;
    ui::Button* Button6;
    ui::Edit* edTokenChallengeFolderSearchSave;

    // Output page (page 4).
    ui::Button* Button5;
    ui::Panel* Panel3;
    ui::TabControl* TabControl2;
    ui::TabPage* TabItem6;
    ui::Memo* Memo1;

    // About page (page 5).
    ui::Panel* Panel5;
    ui::Memo* Memo2;

  private:
    void buildMenu();
    void buildRunPage();
    void buildConfigurationPage();
    void buildPoolPage();
    void buildTokenPage();
    void buildOutputPage();
    void buildAboutPage();
    void bindHandlers();
    // Appends a tab to the output page with a memo of that name filling it.
    ui::Memo* addOutputTab(const std::string& caption, const std::string& memoName);

    ui::Platform& platform_;
    SettingsStore store_;
};

// The one window and the program-wide state.
extern TForm1* Form1;
extern bool bUpdating;
extern std::string sCurrentConfig;
extern std::string sLaunchFileName;

// Program start: resets the globals, creates Form1 from its description and runs FormCreate.
// The window lives as long as the returned object; Form1 points to it meanwhile.
std::unique_ptr<TForm1> startForm1(ui::Platform& platform);

}  // namespace morvane
