#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace morvane::ui {

// A drop-down list. The program never selects an entry itself; a selection is the user's.
class ComboBox : public Control {
  public:
    explicit ComboBox(std::string name) : Control(Kind::ComboBox, std::move(name)) {}

    const std::vector<std::string>& items() const { return items_; }
    // -1 when nothing is selected.
    int itemIndex() const { return itemIndex_; }
    // The selected entry's text; empty when nothing is selected.
    std::string selectedText() const;

    // Removes every entry. If an entry was selected, nothing is afterwards and onChange runs
    // once.
    void clear();
    // Appends an entry; runs nothing and keeps the selection.
    void add(std::string item);
    // Inserts an entry; runs nothing. The selection keeps pointing at the same entry.
    void insert(size_t position, std::string item);

    // The user chooses entry `index`: the list takes the focus, and onChange runs when the
    // selection changes.
    void userSelect(int index);

    std::function<void()> onChange;

  private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

}  // namespace morvane::ui
