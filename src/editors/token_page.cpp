// The token configuration page: the token configurations of the current configuration, with
// the values and search strings for the token miner's own settings file.
#include <array>
#include <string>

#include "app/unit1.h"
#include "editors/editor_steps.h"
#include "store/records.h"

namespace morvane {

using namespace records;
using editors::kAddNew;

namespace {

constexpr std::string_view kTokenListCaption = "Select Existing Token Config";

// A key of the record after "Config Title" and the control it is stored from: an edit box, a
// spin box (its text) or the bidding check box ("1" or "0").
struct TokenField {
    std::string_view key;
    ui::Control* control;
};

// In write order.
std::array<TokenField, 21> tokenFields(TForm1& f) {
    return {{
        {kTokenFileLocation, f.edTokenFileLocationSave},
        {kTokenHost.value, f.edTokenHostSave},
        {kTokenHost.search, f.edTokenHostSearchSave},
        {kTokenRPCPort.value, f.edTokenRPCPortSave},
        {kTokenRPCPort.search, f.edTokenPortSearchSave},
        {kTokenWallet.value, f.edTokenWalletSave},
        {kTokenWallet.search, f.edTokenMinerSearchSave},
        {kTokenContract.value, f.edTokenContractSave},
        {kTokenContract.search, f.edTokenContractSearchSave},
        {kTokenSoloKey.value, f.edTokenSoloKeySave},
        {kTokenSoloKey.search, f.edTokenSoloKeySearchSave},
        {kTokenGasPrice.value, f.sbTokenGasPriceSave},
        {kTokenGasPrice.search, f.edTokenGasPriceSearchSave},
        {kTokenGasPriceBidding.value, f.CheckBox1},
        {kTokenGasPriceBidding.search, f.edTokenGasPriceBiddingSearchSave},
        {kTokenMaxGasPrice.value, f.sbTokenMaxGasPriceSave},
        {kTokenMaxGasPrice.search, f.edTokenMaxGasPriceSearchSave},
        {kTokenBidTop.value, f.sbTokenGasPriceBidTopSave},
        {kTokenBidTop.search, f.edTokenGasPriceBidTopSearchSave},
        {kTokenChallangeFolder.value, f.edTokenChallengeFolderSave},
        {kTokenChallangeFolder.search, f.edTokenChallengeFolderSearchSave},
    }};
}

std::string storedText(const ui::Control& control) {
    switch (control.kind()) {
        case ui::Kind::SpinBox:
            return static_cast<const ui::SpinBox&>(control).text();
        case ui::Kind::CheckBox:
            return std::string(static_cast<const ui::CheckBox&>(control).checked() ? kOn : kOff);
        default:
            return static_cast<const ui::Edit&>(control).text();
    }
}

// Edit boxes and spin boxes only; an empty text puts a spin box at its minimum.
void showText(ui::Control& control, const std::string& text) {
    if (control.kind() == ui::Kind::SpinBox) {
        static_cast<ui::SpinBox&>(control).setText(text);
    } else {
        static_cast<ui::Edit&>(control).setText(text);
    }
}

}  // namespace

void TForm1::AddTokenConfigs(Sender) {
    if (bUpdating) return;  // a save is replacing a record
    const size_t listed = editors::refillLists(*cbSelectTokenSave, *cbChooseTokenConfig, store_,
                                               tokenListSection(sCurrentConfig));
    Label31->setCaption(editors::countCaption(kTokenListCaption, listed));
}

void TForm1::LoadTokenForEditing(Sender) {
    const auto fields = tokenFields(*this);
    if (cbSelectTokenSave->itemIndex() < 0) {
        // The bidding box keeps its state.
        edTokenTitleSave->setText("");
        for (const TokenField& field : fields) {
            if (field.control != CheckBox1) showText(*field.control, "");
        }
        return;
    }
    // "Add New" names no record: every field reads empty and bidding reads as on.
    const std::string section = sCurrentConfig + cbSelectTokenSave->selectedText();
    edTokenTitleSave->setText(MyReadIniString(section, std::string(kConfigTitle), ""));
    for (const TokenField& field : fields) {
        if (field.control == CheckBox1) {
            CheckBox1->setChecked(MyReadIniString(section, std::string(field.key),
                                                  std::string(kBiddingEditorDefault)) == kOn);
        } else {
            showText(*field.control, MyReadIniString(section, std::string(field.key), ""));
        }
    }
}

void TForm1::SaveTokenData(Sender) {
    const std::string title = edTokenTitleSave->text();
    if (title.empty()) {
        MyErrorMessage(1, "Please enter a Token configuration title");
        return;
    }
    if (title == kAddNew) {
        MyErrorMessage(1, "Please enter a valid Token configuration title");
        return;
    }

    const std::string list = tokenListSection(sCurrentConfig);
    const auto entry =
        editors::giveOutEntry(store_, list, title, platform_, "Update existing Token file?");
    if (!entry) return;
    const editors::ReplacingTitle replacing(entry->replacing);

    store_.write(list, titleEntryKey(entry->number), title);
    const std::string section = sCurrentConfig + title;
    store_.write(section, kConfigTitle, title);
    for (const TokenField& field : tokenFields(*this)) {
        MyWriteIniString(section, std::string(field.key), storedText(*field.control));
    }

    if (!bUpdating) cbSelectTokenSave->add(title);
    bUpdating = false;
    Label31->setCaption(
        editors::countCaption(kTokenListCaption, editors::titlesListed(*cbSelectTokenSave)));
    MyErrorMessage(2, "Config Saved");
    TabControl1->setTabIndex(0);
}

}  // namespace morvane
