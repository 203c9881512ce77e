// The pool configuration page: the pool configurations of the current configuration, listed,
// loaded for editing, checked and saved.
#include <string>

#include "app/unit1.h"
#include "editors/editor_steps.h"
#include "store/records.h"

namespace morvane {

using namespace records;
using editors::kAddNew;

namespace {

constexpr std::string_view kPoolListCaption = "Select Existing Pool Config";

}  // namespace

void TForm1::AddNewPoolTitles(Sender) {
    if (bUpdating) return;  // a save is replacing a record
    const size_t listed = editors::refillLists(*cbAddPoolChosePool, *cbChoosePoolConfig, store_,
                                               poolListSection(sCurrentConfig));
    lbPoolConfTitle->setCaption(editors::countCaption(kPoolListCaption, listed));
}

void TForm1::LoadPoolForEditing(Sender) {
    if (cbAddPoolChosePool->itemIndex() < 0) {
        ebPoolTitleSave->setText("");
        ebPoolURLSave->setText("");
        ebPoolPortSave->setText("");
        ebPoolRignameSave->setText("");
        ebPoolWalletSave->setText("");
        return;
    }
    // "Add New" names no record, so it empties the fields as well.
    const std::string section = sCurrentConfig + cbAddPoolChosePool->selectedText();
    const auto read = [&](std::string_view key) {
        return MyReadIniString(section, std::string(key), "");
    };
    ebPoolTitleSave->setText(read(kConfigTitle));
    ebPoolURLSave->setText(read(kPoolUrlAsRead));
    ebPoolPortSave->setText(read(kPoolPort));
    ebPoolRignameSave->setText(read(kPoolRigName));
    ebPoolWalletSave->setText(read(kPoolWallet));
}

bool TForm1::CheckB4SavePool() {
    bool refused = false;
    if (ebPoolURLSave->text().empty()) {
        MyErrorMessage(1, "Pool not specified");
        refused = true;
    }
    if (ebPoolPortSave->text().empty()) {
        MyErrorMessage(1, "Pool Port not specified");
        refused = true;
    }
    if (ebPoolWalletSave->text().empty()) {
        MyErrorMessage(1, "Wallet not specified");
        refused = true;
    }
    return refused;
}

void TForm1::btnSavePoolDataClick(Sender) {
    const std::string title = ebPoolTitleSave->text();
    if (title.empty()) {
        MyErrorMessage(1, "Please enter a pool configuration title");
        return;
    }
    if (title == kAddNew) {
        MyErrorMessage(1, "Please enter a valid pool configuration title");
        return;
    }
    if (CheckB4SavePool()) return;

    const std::string list = poolListSection(sCurrentConfig);
    const auto entry =
        editors::giveOutEntry(store_, list, title, platform_, "Update existing Pool config?");
    if (!entry) return;
    const editors::ReplacingTitle replacing(entry->replacing);

    store_.write(list, titleEntryKey(entry->number), title);
    const std::string section = sCurrentConfig + title;
    store_.write(section, kConfigTitle, title);
    MyWriteIniString(section, std::string(kPoolUrl), ebPoolURLSave->text());
    MyWriteIniString(section, std::string(kPoolPort), ebPoolPortSave->text());
    MyWriteIniString(section, std::string(kPoolWallet), ebPoolWalletSave->text());
    MyWriteIniString(section, std::string(kPoolRigName), ebPoolRignameSave->text());

    MyErrorMessage(2, "Config Saved");
    if (!bUpdating) cbAddPoolChosePool->add(title);
    bUpdating = false;
    lbPoolConfTitle->setCaption(
        editors::countCaption(kPoolListCaption, editors::titlesListed(*cbAddPoolChosePool)));
    TabControl1->setTabIndex(0);
}

}  // namespace morvane
