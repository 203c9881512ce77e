#pragma once

#include <map>
#include <string>

#include "toolkit/control.h"
#include "toolkit/platform.h"
#include "tools/uiscript/script.h"

namespace morvane::uiscript {

// The keyboard on the model alone, doing what the window's native controls do with each key:
// a text field keeps the typed text, its caret and its selection until the text is committed
// (the field is left, Enter in a one-line field, another user action), Tab and Shift+Tab go
// along the model's Tab order and select the text of the field they reach, arrows step spin
// boxes and drop-down lists, walk radio groups and tab strips, Space and Enter press.
class HeadlessKeyboard {
  public:
    HeadlessKeyboard(ui::Control& window, ui::Platform& platform)
        : window_(window), platform_(platform) {}

    // A key on the control that has the focus.
    void press(Key key);
    // A typed character on the control that has the focus.
    void type(char32_t character);
    // The user clicks into the field and empties it (the focus goes there).
    void enterCleared(ui::Control& field);
    // Hands the focused field's typed text to the model, as leaving it or another user action
    // does.
    void commit();

  private:
    // What the native text field shows: its text, selection (anchor to caret) and the model's
    // text it last showed.
    struct Field {
        std::u32string text;
        size_t anchor = 0;
        size_t caret = 0;
        std::string shown;
    };
    // The field as it stands now: a text the model changed meanwhile replaces what it showed,
    // with the caret at the start.
    Field& field(ui::Control& control);
    void edit(ui::Control& control, const std::u32string& insert, bool backspace);
    void moveCaret(ui::Control& control, bool forward);
    void act(const std::function<void()>& action);

    ui::Control& window_;
    ui::Platform& platform_;
    std::map<const ui::Control*, Field> fields_;
};

}  // namespace morvane::uiscript
