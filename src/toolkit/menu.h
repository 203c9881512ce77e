#pragma once

#include <functional>
#include <string>

#include "toolkit/control.h"

namespace morvane::ui {

// The menu bar; its items are its children, in order.
class MainMenu : public Control {
  public:
    explicit MainMenu(std::string name) : Control(Kind::MainMenu, std::move(name)) {}
};

// A plain item of the menu bar; a hidden item is not on the bar.
class MenuItem : public Control {
  public:
    explicit MenuItem(std::string name) : Control(Kind::MenuItem, std::move(name)) {}
    std::function<void()> onClick;
    void userClick() {
        if (onClick) onClick();
    }
};

}  // namespace morvane::ui
