#include "tools/uiscript/headless_keyboard.h"

#include <algorithm>

#include "store/text.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/dispatch.h"
#include "toolkit/edit.h"
#include "toolkit/keyboard.h"
#include "toolkit/spin_box.h"
#include "toolkit/tab_control.h"
#include "tools/uiscript/backend.h"
#include "tools/uiscript/text_fields.h"

namespace morvane::uiscript {

namespace {

using ui::Kind;

std::u32string decoded(const std::string& text) {
    std::u32string result;
    for (size_t at = 0; at < text.size();) result += text::decodeUtf8(text, at);
    return result;
}

std::string encoded(const std::u32string& text) {
    std::string result;
    for (char32_t c : text) text::appendUtf8(result, c);
    return result;
}

bool readOnly(const ui::Control& control) {
    return control.kind() == Kind::Memo && static_cast<const ui::Memo&>(control).readOnly;
}

char32_t lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c; }

}  // namespace

void HeadlessKeyboard::act(const std::function<void()>& action) { ui::dispatch(platform_, action); }

HeadlessKeyboard::Field& HeadlessKeyboard::field(ui::Control& control) {
    const std::string model = fieldText(control);
    auto [entry, fresh] = fields_.try_emplace(&control);
    Field& state = entry->second;
    if (fresh || state.shown != model) {
        // The view shows a changed model text (SetWindowText puts the caret at the start),
        // unless the field already shows it.
        if (fresh || encoded(state.text) != model) {
            state.text = decoded(model);
            state.anchor = state.caret = 0;
        }
        state.shown = model;
    }
    return state;
}

void HeadlessKeyboard::commit() {
    ui::Control* focused = window_.focused();
    if (!focused || !isTextField(*focused) || readOnly(*focused)) return;
    const std::string typed = encoded(field(*focused).text);
    if (typed == fieldText(*focused)) return;
    act([&] { setFieldText(*focused, typed); });
    // The field then shows the model's text (a spin box its text form), where that differs.
    if (ui::reachable(*focused)) field(*focused);
}

void HeadlessKeyboard::enterCleared(ui::Control& control) {
    commit();
    control.setFocus();
    Field& state = field(control);
    state.text.clear();
    state.anchor = state.caret = 0;
}

// Typing replaces the selection; Backspace removes it, or the character before the caret (a
// memo's line break as one).
void HeadlessKeyboard::edit(ui::Control& control, const std::u32string& insert, bool backspace) {
    Field& state = field(control);
    if (readOnly(control)) return;
    size_t from = std::min(state.anchor, state.caret);
    size_t to = std::max(state.anchor, state.caret);
    if (backspace && from == to) {
        moveCaret(control, false);
        from = state.caret;
    }
    state.text.replace(from, to - from, insert);
    state.anchor = state.caret = from + insert.size();
}

// The caret moves from where it stands and the selection collapses there; in a memo it steps
// over a line break as one.
void HeadlessKeyboard::moveCaret(ui::Control& control, bool forward) {
    Field& state = field(control);
    const std::u32string& text = state.text;
    const bool memo = control.kind() == Kind::Memo;
    size_t at = state.caret;
    if (forward && at < text.size()) {
        ++at;
        if (memo && text[at - 1] == U'\r' && at < text.size() && text[at] == U'\n') ++at;
    } else if (!forward && at > 0) {
        --at;
        if (memo && text[at] == U'\n' && at > 0 && text[at - 1] == U'\r') --at;
    }
    state.anchor = state.caret = at;
}

void HeadlessKeyboard::press(Key key) {
    ui::Control* focused = window_.focused();
    if (key == Key::Tab || key == Key::ShiftTab) {
        commit();
        act([&] { ui::moveFocus(window_, key == Key::Tab); });
        // The dialog keys select the whole text of a field they reach.
        if (ui::Control* reached = window_.focused(); reached && isTextField(*reached)) {
            Field& state = field(*reached);
            state.anchor = 0;
            state.caret = state.text.size();
        }
        return;
    }
    if (!focused) return;  // the window alone takes no other key
    const bool forward = key == Key::Down || key == Key::Right;
    const bool arrow = key == Key::Up || key == Key::Down || key == Key::Left || key == Key::Right;
    switch (focused->kind()) {
        case Kind::Edit:
        case Kind::SpinBox:
        case Kind::Memo:
            if (key == Key::Space) return type(U' ');
            if (key == Key::Backspace) return edit(*focused, {}, true);
            if (key == Key::Enter) {
                if (focused->kind() == Kind::Memo) return edit(*focused, U"\r\n", false);
                return commit();
            }
            if (focused->kind() == Kind::SpinBox && (key == Key::Up || key == Key::Down)) {
                commit();
                auto& spin = static_cast<ui::SpinBox&>(*focused);
                act([&] { spin.userStep(key == Key::Up ? 1 : -1); });
                field(*focused);
                return;
            }
            if (focused->kind() == Kind::Memo && (key == Key::Up || key == Key::Down)) {
                fail("the headless keyboard does not move between the lines of a memo");
            }
            // A one-line field takes Up and Down as Left and Right.
            if (arrow) return moveCaret(*focused, key == Key::Down || key == Key::Right);
            return;
        case Kind::Button:
            if (key == Key::Space || key == Key::Enter) {
                auto& button = static_cast<ui::Button&>(*focused);
                act([&] { button.userClick(); });
            }
            return;
        case Kind::CheckBox:
            if (key == Key::Space) {
                auto& box = static_cast<ui::CheckBox&>(*focused);
                act([&] { box.userClick(); });
            }
            return;
        case Kind::RadioButton: {
            auto& radio = static_cast<ui::RadioButton&>(*focused);
            if (key == Key::Space) {
                act([&] { radio.userClick(); });
            } else if (arrow) {
                ui::RadioButton& next = ui::radioNeighbour(radio, forward);
                act([&] { next.userClick(); });
            }
            return;
        }
        case Kind::ComboBox: {
            auto& box = static_cast<ui::ComboBox&>(*focused);
            if (key == Key::Space) return type(U' ');
            if (const int index = arrow ? ui::listStep(box, forward) : -1; index >= 0) {
                act([&] { box.userSelect(index); });
            }
            return;
        }
        case Kind::TabControl: {
            auto& tabs = static_cast<ui::TabControl&>(*focused);
            const bool across = key == Key::Left || key == Key::Right;
            if (const int index = across ? ui::tabStep(tabs, forward) : -1; index >= 0) {
                act([&] { tabs.userSelect(index); });
            }
            return;
        }
        default:
            return;
    }
}

void HeadlessKeyboard::type(char32_t character) {
    ui::Control* focused = window_.focused();
    if (!focused) return;
    if (isTextField(*focused)) {
        const bool dropped = focused->kind() == Kind::SpinBox &&
                             !static_cast<ui::SpinBox&>(*focused).acceptsKey(character);
        if (!dropped) edit(*focused, std::u32string(1, character), false);
        return;
    }
    if (focused->kind() == Kind::ComboBox) {
        // A drop-down list goes to the next entry that begins with the character.
        auto& box = static_cast<ui::ComboBox&>(*focused);
        const auto& items = box.items();
        const int count = static_cast<int>(items.size());
        for (int step = 1; step <= count; ++step) {
            const int index = (box.itemIndex() + step + count) % count;
            const std::u32string item = decoded(items[static_cast<size_t>(index)]);
            if (!item.empty() && lower(item[0]) == lower(character)) {
                act([&] { box.userSelect(index); });
                return;
            }
        }
    }
}

}  // namespace morvane::uiscript
