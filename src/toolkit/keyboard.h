#pragma once

#include <vector>

#include "toolkit/control.h"

namespace morvane::ui {

class ComboBox;
class RadioButton;
class TabControl;

// The keyboard's rules of the window, the same for the model and the native window.

// Whether the user can reach the control: it and every container it lies in are visible and
// enabled, and it lies on the page shown of every page control and tab control around it.
bool reachable(const Control& control);

// The radio buttons of `radio`'s group: those of its group name under its parent, in order.
std::vector<RadioButton*> radioGroup(const RadioButton& radio);

// Whether the control and the controls after it of the same parent form one arrow-key group:
// true for everything but a radio button that follows one of the same group name.
bool startsGroup(const Control& control);

// The controls Tab stops at within `within`, in Tab order: the order of the window
// description, a tab control's page before its tab strip, a radio group (the radio buttons of
// one group name under one parent) once, at its checked button or else at its first. Only
// reachable controls count.
std::vector<Control*> tabStops(Control& within);
// The first of them; nullptr when there is none.
Control* firstTabStop(Control& within);

// The stop Tab (`forward`) or Shift+Tab goes to from `from`, wrapping around the window; from
// nullptr (or a control that is no stop) the next stop after it in the window description.
// nullptr when the window has no stop.
Control* nextTabStop(Control& window, const Control* from, bool forward);
// Tab or Shift+Tab: the window's focus moves to nextTabStop from the focused control. Returns
// the control that has the focus afterwards.
Control* moveFocus(Control& window, bool forward);

// The radio button an arrow key goes to from `radio`: the next reachable one of its group
// (the previous one when !forward), wrapping; `radio` itself when it is alone.
RadioButton& radioNeighbour(RadioButton& radio, bool forward);

// The entry Down or Right (`forward`), Up or Left choose in a closed drop-down list: the next
// or previous one, staying at either end; from nothing the first. -1 for an empty list.
int listStep(const ComboBox& box, bool forward);

// The tab Right (`forward`) or Left choose on a tab strip: the next or previous one; -1 at
// either end.
int tabStep(const TabControl& tabs, bool forward);

}  // namespace morvane::ui
