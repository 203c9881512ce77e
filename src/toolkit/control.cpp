#include "toolkit/control.h"

#include <algorithm>

#include "toolkit/keyboard.h"

namespace morvane::ui {

void Control::adopt(std::unique_ptr<Control> child) {
    child->parent_ = this;
    Control* raw = child.get();
    children_.push_back(std::move(child));
    if (ViewObserver* view = observer()) view->controlAdded(*raw);
}

void Control::setFocus() {
    Control& window = root();
    if (window.focused_ == this) return;
    window.focused_ = this;
    changed();
}

namespace {

bool contains(const Control& tree, const Control* control) {
    if (&tree == control) return true;
    for (const auto& child : tree.children()) {
        if (contains(*child, control)) return true;
    }
    return false;
}

}  // namespace

void Control::destroyChild(Control* child) {
    if (contains(*child, root().focused_)) root().focused_ = nullptr;
    const auto it = std::find_if(children_.begin(), children_.end(),
                                 [&](const auto& owned) { return owned.get() == child; });
    if (it == children_.end()) return;
    if (ViewObserver* view = observer()) view->controlRemoved(*child);
    children_.erase(it);
}

void Control::setCaption(std::string_view caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    changed();
}

void Control::setHint(std::string_view hint) {
    if (hint_ == hint) return;
    hint_ = hint;
    changed();
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    dropUnreachableFocus();
    changed();
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    dropUnreachableFocus();
    changed();
}

void Control::dropUnreachableFocus() {
    Control& window = root();
    if (window.focused_ && !reachable(*window.focused_)) window.focused_ = nullptr;
}

Control& Control::root() {
    Control* control = this;
    while (control->parent_) control = control->parent_;
    return *control;
}

Control* Control::find(std::string_view name) {
    if (name_ == name) return this;
    for (const auto& child : children_) {
        if (Control* found = child->find(name)) return found;
    }
    return nullptr;
}

ViewObserver* Control::observer() { return root().observer_; }

void Control::changed() {
    if (ViewObserver* view = observer()) view->controlChanged(*this);
}

void Button::userClick() {
    setFocus();
    if (onClick) onClick();
}

}  // namespace morvane::ui
