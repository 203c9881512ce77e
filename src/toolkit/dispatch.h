#pragma once

#include <functional>

#include "toolkit/platform.h"

namespace morvane::ui {

// Runs one user action (a click, a choice, a committed text) with the handlers it triggers.
// An error that no handler caught ends the action where it occurred and is shown in the
// default error dialog; the program goes on with the state reached so far. No exception leaves
// this function, so none crosses a Win32 callback.
void dispatch(Platform& platform, const std::function<void()>& action);

}  // namespace morvane::ui
