#include "win32/view_button.h"

#include <algorithm>
#include <vector>

#include "toolkit/check_box.h"
#include "toolkit/keyboard.h"
#include "win32/view_context.h"

namespace morvane::win32 {

void ButtonView::create(HWND parent) {
    createWindow(parent, WC_BUTTONW, baseStyle() | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0,
                 caption());
}

void ButtonView::update() {
    NativeControl::update();
    setText(handle_, caption());
}

void ButtonView::command(WORD code) {
    if (code != BN_CLICKED || context_.updating()) return;
    auto& button = static_cast<ui::Button&>(model_);
    context_.userAction(*this, [&button] { button.userClick(); });
}

namespace {

// Tab enters a radio group at its checked button, or at the first one when none is checked.
bool isGroupStop(const ui::RadioButton& radio, const std::vector<ui::RadioButton*>& group) {
    const bool anyChecked = std::any_of(
        group.begin(), group.end(), [](const ui::RadioButton* other) { return other->checked(); });
    return radio.checked() || (!anyChecked && &radio == group.front());
}

}  // namespace

void CheckView::create(HWND parent) {
    DWORD style = baseStyle();
    if (model_.kind() == ui::Kind::CheckBox) {
        style |= BS_CHECKBOX | WS_TABSTOP;
        if (static_cast<const ui::CheckBox&>(model_).wordWrap) style |= BS_MULTILINE;
    } else {
        const auto& radio = static_cast<const ui::RadioButton&>(model_);
        style |= BS_RADIOBUTTON | (isGroupStop(radio, ui::radioGroup(radio)) ? WS_TABSTOP : 0);
    }
    createWindow(parent, WC_BUTTONW, style, 0, caption());
}

bool CheckView::checked() const {
    return model_.kind() == ui::Kind::CheckBox
               ? static_cast<const ui::CheckBox&>(model_).checked()
               : static_cast<const ui::RadioButton&>(model_).checked();
}

void CheckView::update() {
    NativeControl::update();
    setText(handle_, caption());
    const WPARAM check = checked() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(handle_, BM_GETCHECK, 0, 0)) != check) {
        SendMessageW(handle_, BM_SETCHECK, check, 0);
    }
    if (model_.kind() == ui::Kind::RadioButton) updateRadioTabStops();
}

void CheckView::updateRadioTabStops() {
    if (!model_.parent()) return;
    const std::vector<ui::RadioButton*> group =
        ui::radioGroup(static_cast<const ui::RadioButton&>(model_));
    for (const ui::RadioButton* radio : group) {
        const NativeControl* native = context_.native(*radio);
        if (!native || !native->handle()) continue;
        setStyle(native->handle(), WS_TABSTOP, isGroupStop(*radio, group));
    }
}

void CheckView::command(WORD code) {
    if (code != BN_CLICKED || context_.updating()) return;
    if (model_.kind() == ui::Kind::CheckBox) {
        auto& box = static_cast<ui::CheckBox&>(model_);
        context_.userAction(*this, [&box] { box.userClick(); });
    } else {
        auto& radio = static_cast<ui::RadioButton&>(model_);
        context_.userAction(*this, [&radio] { radio.userClick(); });
    }
}

}  // namespace morvane::win32
