#pragma once

// What the three editor pages share: the refill of their lists, the title-list entry a title is
// saved under, with the question before a listed title is replaced, and the flag that marks
// such a replacement.

#include <optional>
#include <string>
#include <string_view>

#include "store/settings_store.h"
#include "toolkit/combo_box.h"
#include "toolkit/platform.h"

namespace morvane::editors {

// The entry every editor list begins with; no record is ever saved under it.
inline constexpr std::string_view kAddNew = "Add New";

struct TitleEntry {
    int number = 0;          // the "ID" number the title is written under
    bool replacing = false;  // the title was listed and the user agreed to replace it
};

// Lists the title list `listSection` and compares `title` with each listed title in file order,
// letter case included. At the first equal one, asks `question`: No gives nothing (the save
// writes nothing), Yes gives that entry's position from 1. An unlisted title gets the number of
// listed titles plus one.
std::optional<TitleEntry> giveOutEntry(const SettingsStore& store, std::string_view listSection,
                                       std::string_view title, ui::Platform& platform,
                                       const std::string& question);

// Sets bUpdating for a save that replaces a listed title. The save clears the flag itself at its
// list step; this clears it as well when a refused write ends the save before that step, so the
// list and loading handlers are not left switched off for the rest of the run.
class ReplacingTitle {
  public:
    explicit ReplacingTitle(bool replacing);
    ~ReplacingTitle();
    ReplacingTitle(const ReplacingTitle&) = delete;
    ReplacingTitle& operator=(const ReplacingTitle&) = delete;
};

// Empties an editor page's list and the run page's list of the same kind, fills both with the
// titles of the title list `listSection` in file order, and puts "Add New" first in the editor
// page's list only. A list that had a chosen entry loses it and runs its change handler once,
// which empties its page's fields. Gives the number of titles listed.
size_t refillLists(ui::ComboBox& editorList, ui::ComboBox& runList, const SettingsStore& store,
                   std::string_view listSection);

// The titles an editor list holds: its entries without the leading "Add New".
size_t titlesListed(const ui::ComboBox& list);

// "<prefix> - <count> configs found", the editor lists' caption once they have been filled.
std::string countCaption(std::string_view prefix, size_t count);

}  // namespace morvane::editors
