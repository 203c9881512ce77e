#include "editors/editor_steps.h"

#include "app/unit1.h"

namespace morvane::editors {

std::optional<TitleEntry> giveOutEntry(const SettingsStore& store, std::string_view listSection,
                                       std::string_view title, ui::Platform& platform,
                                       const std::string& question) {
    const std::vector<std::string> titles = store.titles(listSection);
    const std::optional<int> listed = findTitle(titles, title);
    if (!listed) return TitleEntry{static_cast<int>(titles.size()) + 1, false};
    if (platform.askYesNo(question) == ui::kAnswerNo) return std::nullopt;
    return TitleEntry{*listed, true};
}

ReplacingTitle::ReplacingTitle(bool replacing) {
    if (replacing) bUpdating = true;
}

ReplacingTitle::~ReplacingTitle() { bUpdating = false; }

size_t refillLists(ui::ComboBox& editorList, ui::ComboBox& runList, const SettingsStore& store,
                   std::string_view listSection) {
    editorList.clear();
    runList.clear();
    const std::vector<std::string> titles = store.titles(listSection);
    for (const std::string& title : titles) {
        editorList.add(title);
        runList.add(title);
    }
    editorList.insert(0, std::string(kAddNew));
    return titles.size();
}

size_t titlesListed(const ui::ComboBox& list) {
    const auto& items = list.items();
    return items.size() - (!items.empty() && items.front() == kAddNew ? 1 : 0);
}

std::string countCaption(std::string_view prefix, size_t count) {
    return std::string(prefix) + " - " + std::to_string(count) + " configs found";
}

}  // namespace morvane::editors
