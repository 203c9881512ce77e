#include "win32/view_list.h"

#include <algorithm>

#include "toolkit/combo_box.h"
#include "win32/view_context.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

namespace {

// Fewer new entries than this are added as they are; more go in with redrawing off.
constexpr size_t kQuietFill = 8;

}  // namespace

void ComboBoxView::create(HWND parent) {
    createWindow(parent, WC_COMBOBOXW, baseStyle() | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
}

void ComboBoxView::update() {
    NativeControl::update();
    const auto& combo = static_cast<const ui::ComboBox&>(model_);
    const auto& items = combo.items();
    if (items != shown_) {
        const bool appended =
            items.size() > shown_.size() && std::equal(shown_.begin(), shown_.end(), items.begin());
        const size_t from = appended ? shown_.size() : 0;
        const bool quiet = items.size() - from >= kQuietFill;
        if (quiet) SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
        if (!appended) {
            SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
            size_t bytes = 0;
            for (const std::string& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
            SendMessageW(handle_, CB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
        }
        for (size_t i = from; i < items.size(); ++i) {
            SendMessageW(handle_, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(widen(items[i]).c_str()));
        }
        if (quiet) {
            SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(handle_, nullptr, TRUE);
        }
        shown_ = items;
    }
    if (SendMessageW(handle_, CB_GETCURSEL, 0, 0) != combo.itemIndex()) {
        SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(combo.itemIndex()), 0);
    }
}

void ComboBoxView::command(WORD code) {
    if (code == CBN_CLOSEUP) {
        ViewContext::Updating guard(context_);
        layout();  // what was left while the list was open
        return;
    }
    if (code != CBN_SELCHANGE || context_.updating()) return;
    const int index = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    auto& combo = static_cast<ui::ComboBox&>(model_);
    context_.userAction(*this, [&combo, index] { combo.userSelect(index); });
}

// A closed list reports only its field's height, so only the position and width tell whether
// it has to move.
void ComboBoxView::layout() {
    // Moving or resizing an open list closes it behind the user's back; it is laid out again
    // when it closes.
    if (SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0)) return;
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
