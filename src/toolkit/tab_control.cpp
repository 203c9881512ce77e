#include "toolkit/tab_control.h"

#include "toolkit/keyboard.h"

namespace morvane::ui {

TabPage* TabControl::page(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return static_cast<TabPage*>(children()[static_cast<size_t>(index)].get());
}

void TabControl::setTabIndex(int index) {
    if (index < 0 || index >= count() || index == tabIndex_) return;
    tabIndex_ = index;
    changed();
    const Control* focus = focused();
    if (!focus || !reachable(*focus)) {
        if (Control* first = firstTabStop(*page(index))) {
            first->setFocus();
        } else if (kind() == Kind::TabControl && reachable(*this)) {
            setFocus();
        }
    }
    if (onChange) onChange();
}

TabPage* TabControl::addTab(std::string name, std::string caption) {
    TabPage* tab = add<TabPage>(std::move(name));
    tab->setCaption(caption);
    if (tabIndex_ < 0) tabIndex_ = 0;
    changed();
    return tab;
}

void TabControl::removeTab(int index) {
    TabPage* tab = page(index);
    if (!tab) return;
    destroyChild(tab);
    if (tabIndex_ >= count())
        tabIndex_ = count() - 1;
    else if (index < tabIndex_)
        --tabIndex_;
    changed();
}

bool TabControl::userSelect(int index) {
    setFocus();
    const TabPage* tab = page(index);
    if (!tab || !tab->enabled() || !enabled()) return false;
    setTabIndex(index);
    return true;
}

}  // namespace morvane::ui
