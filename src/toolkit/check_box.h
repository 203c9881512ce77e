#pragma once

#include <functional>
#include <string>

#include "toolkit/control.h"

namespace morvane::ui {

class CheckBox : public Control {
  public:
    explicit CheckBox(std::string name) : Control(Kind::CheckBox, std::move(name)) {}

    bool checked() const { return checked_; }
    void setChecked(bool checked);
    // The user clicks: the box takes the focus and toggles.
    void userClick();

    bool wordWrap = false;
    std::function<void()> onChange;

  private:
    bool checked_ = false;
};

// Checking a radio button unchecks every other radio button of the same group name in the
// window.
class RadioButton : public Control {
  public:
    RadioButton(std::string name, std::string groupName)
        : Control(Kind::RadioButton, std::move(name)), groupName_(std::move(groupName)) {}

    const std::string& groupName() const { return groupName_; }
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    // The user clicks (or reaches it with an arrow key): the button takes the focus and is
    // checked.
    void userClick();

  private:
    std::string groupName_;
    bool checked_ = false;
};

}  // namespace morvane::ui
