#include "toolkit/keyboard.h"

#include <algorithm>

#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/tab_control.h"

namespace morvane::ui {

namespace {

bool hasPages(const Control& control) {
    return control.kind() == Kind::TabControl || control.kind() == Kind::PageControl;
}

bool isPageShown(const Control& page) {
    const auto& tabs = static_cast<const TabControl&>(*page.parent());
    return tabs.page(tabs.tabIndex()) == &page;
}

bool takesTabStop(const Control& control) {
    switch (control.kind()) {
        case Kind::Button:
        case Kind::Edit:
        case Kind::SpinBox:
        case Kind::ComboBox:
        case Kind::CheckBox:
        case Kind::TabControl:
        case Kind::Memo:
            return true;
        case Kind::RadioButton: {
            const std::vector<RadioButton*> group =
                radioGroup(static_cast<const RadioButton&>(control));
            RadioButton* stop = nullptr;
            for (RadioButton* radio : group) {
                if (!reachable(*radio)) continue;
                if (radio->checked()) return radio == &control;
                if (!stop) stop = radio;
            }
            return stop == &control;
        }
        default:
            return false;
    }
}

bool isStop(const Control& control) {
    return control.parent() && takesTabStop(control) && reachable(control);
}

// Every control in Tab order, stop or not: the order of the description, with a tab
// control's strip after its pages.
void inTabOrder(Control& control, std::vector<Control*>& order) {
    const bool strip = control.kind() == Kind::TabControl;
    if (!strip) order.push_back(&control);
    for (const auto& child : control.children()) inTabOrder(*child, order);
    if (strip) order.push_back(&control);
}

}  // namespace

bool reachable(const Control& control) {
    for (const Control* at = &control; at->parent(); at = at->parent()) {
        if (!at->visible() || !at->enabled()) return false;
        if (at->kind() == Kind::TabPage && hasPages(*at->parent()) && !isPageShown(*at)) {
            return false;
        }
    }
    return true;
}

std::vector<RadioButton*> radioGroup(const RadioButton& radio) {
    std::vector<RadioButton*> group;
    for (const auto& sibling : radio.parent()->children()) {
        if (sibling->kind() != Kind::RadioButton) continue;
        auto* other = static_cast<RadioButton*>(sibling.get());
        if (other->groupName() == radio.groupName()) group.push_back(other);
    }
    return group;
}

bool startsGroup(const Control& control) {
    if (control.kind() != Kind::RadioButton || !control.parent()) return true;
    const Control* previous = nullptr;
    for (const auto& sibling : control.parent()->children()) {
        if (sibling.get() == &control) break;
        previous = sibling.get();
    }
    return !previous || previous->kind() != Kind::RadioButton ||
           static_cast<const RadioButton*>(previous)->groupName() !=
               static_cast<const RadioButton&>(control).groupName();
}

std::vector<Control*> tabStops(Control& within) {
    std::vector<Control*> order;
    inTabOrder(within, order);
    std::vector<Control*> stops;
    for (Control* control : order) {
        if (isStop(*control)) stops.push_back(control);
    }
    return stops;
}

Control* firstTabStop(Control& within) {
    const std::vector<Control*> stops = tabStops(within);
    return stops.empty() ? nullptr : stops.front();
}

Control* nextTabStop(Control& window, const Control* from, bool forward) {
    std::vector<Control*> order;
    inTabOrder(window, order);
    const auto size = static_cast<std::ptrdiff_t>(order.size());
    const auto at = std::find(order.begin(), order.end(), from);
    // From nothing, forward starts before the first control and backward after the last.
    const std::ptrdiff_t start = at != order.end() ? at - order.begin() : (forward ? -1 : size);
    for (std::ptrdiff_t step = 1; step <= size; ++step) {
        const std::ptrdiff_t index = ((start + (forward ? step : -step)) % size + size) % size;
        Control* control = order[static_cast<size_t>(index)];
        if (isStop(*control)) return control;
    }
    return nullptr;
}

Control* moveFocus(Control& window, bool forward) {
    if (Control* next = nextTabStop(window, window.focused(), forward)) next->setFocus();
    return window.focused();
}

RadioButton& radioNeighbour(RadioButton& radio, bool forward) {
    const std::vector<RadioButton*> group = radioGroup(radio);
    const auto size = static_cast<std::ptrdiff_t>(group.size());
    const std::ptrdiff_t start = std::find(group.begin(), group.end(), &radio) - group.begin();
    for (std::ptrdiff_t step = 1; step < size; ++step) {
        const std::ptrdiff_t index = ((start + (forward ? step : -step)) % size + size) % size;
        RadioButton* other = group[static_cast<size_t>(index)];
        if (reachable(*other)) return *other;
    }
    return radio;
}

int listStep(const ComboBox& box, bool forward) {
    const int count = static_cast<int>(box.items().size());
    if (count == 0) return -1;
    if (box.itemIndex() < 0) return 0;
    return std::clamp(box.itemIndex() + (forward ? 1 : -1), 0, count - 1);
}

int tabStep(const TabControl& tabs, bool forward) {
    const int index = tabs.tabIndex() + (forward ? 1 : -1);
    return index >= 0 && index < tabs.count() ? index : -1;
}

}  // namespace morvane::ui
