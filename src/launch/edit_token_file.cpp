// The token file rewrite at the end of a launch with a token configuration: the run page's token
// file, its matching lines given the stored values, shown on a tab of its own and written to the
// stored location.
#include <string>
#include <vector>

#include "app/unit1.h"
#include "launch/token_rewrite.h"
#include "store/records.h"

namespace morvane {

void TForm1::EditTokenFile() {
    const std::string section = cbBitstreams->selectedText() + cbChooseTokenConfig->selectedText();
    // The memo is named by the index of its tab; the tab stays, if empty, whatever fails below.
    const int index = TabControl2->count();
    ui::Memo* memo = addOutputTab("Token File", "Mymemo" + std::to_string(index));

    const launch::TokenFile file = launch::readTokenFile(platform_, edTokenFileLocationRun->text());
    std::vector<launch::TokenRule> rules;
    for (const records::TokenSetting& setting : records::kTokenSettings) {
        rules.push_back({MyReadIniString(section, std::string(setting.search),
                                         std::string(records::kSearchRewriterDefault)),
                         MyReadIniString(section, std::string(setting.value), "")});
    }
    memo->setLines(launch::rewriteTokenLines(file.lines, rules));
    launch::writeTokenFile(platform_,
                           MyReadIniString(section, std::string(records::kTokenFileLocation), ""),
                           memo->lines(), file.encoding);
}

}  // namespace morvane
