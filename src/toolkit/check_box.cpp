#include "toolkit/check_box.h"

namespace morvane::ui {

namespace {

void uncheckGroup(Control& control, const RadioButton& except) {
    if (control.kind() == Kind::RadioButton && &control != &except) {
        auto& radio = static_cast<RadioButton&>(control);
        if (radio.groupName() == except.groupName()) radio.setChecked(false);
    }
    for (const auto& child : control.children()) uncheckGroup(*child, except);
}

}  // namespace

void CheckBox::setChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    changed();
    if (onChange) onChange();
}

void CheckBox::userClick() {
    setFocus();
    setChecked(!checked_);
}

void RadioButton::userClick() {
    setFocus();
    setChecked(true);
}

void RadioButton::setChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    if (checked) uncheckGroup(root(), *this);
    changed();
}

}  // namespace morvane::ui
