#pragma once

#include <functional>
#include <string>

#include "toolkit/control.h"

namespace morvane::ui {

// One page of a tab or page control; its caption is the tab's text and `enabled` whether the
// tab can be chosen.
class TabPage : public Control {
  public:
    explicit TabPage(std::string name) : Control(Kind::TabPage, std::move(name)) {}
};

// Pages shown one at a time. A page control (Kind::PageControl) hides its tabs, so only the
// program changes pages; a tab control shows them and lets the user choose an enabled one.
class TabControl : public Control {
  public:
    TabControl(std::string name, Kind kind = Kind::TabControl) : Control(kind, std::move(name)) {}

    int count() const { return static_cast<int>(children().size()); }
    TabPage* page(int index) const;
    // -1 when there are no pages.
    int tabIndex() const { return tabIndex_; }
    // Shows page `index`. When the focused control is not reachable afterwards (it was on the
    // page now hidden), or nothing has the focus, the focus moves to the first Tab stop of the
    // page shown (for a tab control with none: its strip); then onChange runs, whose handler
    // may name another control.
    void setTabIndex(int index);

    // Appends a page; the first page becomes the shown one.
    TabPage* addTab(std::string name, std::string caption);
    // Removes the page at `index` with everything on it; an index that does not exist does
    // nothing.
    void removeTab(int index);

    // The user clicks a tab: the strip takes the focus, and the tab is chosen unless it is
    // disabled or missing (then false, and no page changes).
    bool userSelect(int index);

    std::function<void()> onChange;

  private:
    int tabIndex_ = -1;
};

}  // namespace morvane::ui
