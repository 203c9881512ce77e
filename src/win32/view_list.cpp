#include "win32/view_list.h"

#include "toolkit/combo_box.h"
#include "win32/view_context.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

namespace {

std::wstring itemText(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

void ComboBoxView::create(HWND parent) {
    createWindow(parent, WC_COMBOBOXW, baseStyle() | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
}

void ComboBoxView::update() {
    NativeControl::update();
    const auto& combo = static_cast<const ui::ComboBox&>(model_);
    const auto& items = combo.items();
    bool same = SendMessageW(handle_, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(items.size());
    for (size_t i = 0; same && i < items.size(); ++i) {
        same = itemText(handle_, static_cast<int>(i)) == widen(items[i]);
    }
    if (!same) {
        SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items) {
            SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
        }
    }
    if (SendMessageW(handle_, CB_GETCURSEL, 0, 0) != combo.itemIndex()) {
        SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(combo.itemIndex()), 0);
    }
}

void ComboBoxView::command(WORD code) {
    if (code != CBN_SELCHANGE || context_.updating()) return;
    const int index = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    auto& combo = static_cast<ui::ComboBox&>(model_);
    context_.userAction(*this, [&combo, index] { combo.userSelect(index); });
}

// A closed list reports only its field's height, so only the position and width tell whether
// it has to move.
void ComboBoxView::layout() {
    const RECT rect = placement();
    RECT now{};
    GetWindowRect(handle_, &now);
    MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != rect.left || now.top != rect.top || now.right != rect.right) {
        SetWindowPos(handle_, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    applyFont(handle_);
    // The field as high as the edit boxes beside it, whatever the font makes of it.
    GetWindowRect(handle_, &now);
    const LRESULT item = SendMessageW(handle_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const LRESULT wanted = context_.scale(model_.bounds.height) - (now.bottom - now.top - item);
    if (item != CB_ERR && wanted > 0 && wanted != item) {
        SendMessageW(handle_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
    }
}

// The window's height includes the dropped-down list.
RECT ComboBoxView::placement() const {
    RECT rect = NativeControl::placement();
    rect.bottom += context_.scale(200);
    return rect;
}

}  // namespace morvane::win32
