#pragma once

#include <string>

#include "toolkit/control.h"
#include "toolkit/edit.h"
#include "toolkit/spin_box.h"

namespace morvane::uiscript {

// The controls a user types into: edit boxes, spin boxes and memos.
inline bool isTextField(const ui::Control& control) {
    return control.kind() == ui::Kind::Edit || control.kind() == ui::Kind::SpinBox ||
           control.kind() == ui::Kind::Memo;
}

// A text field's text as the model holds it (a memo's lines joined by CR LF); "" for any other
// control.
inline std::string fieldText(const ui::Control& control) {
    switch (control.kind()) {
        case ui::Kind::Edit:
            return static_cast<const ui::Edit&>(control).text();
        case ui::Kind::SpinBox:
            return static_cast<const ui::SpinBox&>(control).text();
        case ui::Kind::Memo:
            return static_cast<const ui::Memo&>(control).text();
        default:
            return {};
    }
}

// Commits a text to a text field, as leaving it after typing does; nothing for other controls.
inline void setFieldText(ui::Control& control, const std::string& text) {
    switch (control.kind()) {
        case ui::Kind::Edit:
            static_cast<ui::Edit&>(control).setText(text);
            break;
        case ui::Kind::SpinBox:
            static_cast<ui::SpinBox&>(control).setText(text);
            break;
        case ui::Kind::Memo:
            static_cast<ui::Memo&>(control).setText(text);
            break;
        default:
            break;
    }
}

}  // namespace morvane::uiscript
