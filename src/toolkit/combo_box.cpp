#include "toolkit/combo_box.h"

namespace morvane::ui {

std::string ComboBox::selectedText() const {
    return itemIndex_ >= 0 ? items_[static_cast<size_t>(itemIndex_)] : std::string();
}

void ComboBox::clear() {
    const bool hadSelection = itemIndex_ != -1;
    if (items_.empty() && !hadSelection) return;
    items_.clear();
    itemIndex_ = -1;
    changed();
    if (hadSelection && onChange) onChange();
}

void ComboBox::add(std::string item) {
    items_.push_back(std::move(item));
    changed();
}

void ComboBox::insert(size_t position, std::string item) {
    position = std::min(position, items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
    if (itemIndex_ >= static_cast<int>(position)) ++itemIndex_;
    changed();
}

void ComboBox::userSelect(int index) {
    setFocus();
    if (index < -1 || index >= static_cast<int>(items_.size()) || index == itemIndex_) return;
    itemIndex_ = index;
    changed();
    if (onChange) onChange();
}

}  // namespace morvane::ui
