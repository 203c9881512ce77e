#include "win32/view_edit.h"

#include <algorithm>

#include "toolkit/edit.h"
#include "toolkit/spin_box.h"
#include "win32/view_context.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

namespace {

bool isEnterKeyDown(LPARAM dialogMessage) {
    const auto* msg = reinterpret_cast<const MSG*>(dialogMessage);
    return msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
}

}  // namespace

HWND TextFieldView::createEdit(HWND parent, DWORD style, const std::string& text,
                               const RECT* rect) {
    HWND edit =
        createWindow(parent, WC_EDITW, style | WS_TABSTOP, WS_EX_CLIENTEDGE, widen(text), rect);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    return edit;
}

void TextFieldView::command(WORD code) {
    if (code == EN_CHANGE && !context_.updating()) context_.markPending(*this);
}

LRESULT TextFieldView::afterMessage(HWND hwnd, UINT message, WPARAM /*wParam*/, LPARAM lParam,
                                    LRESULT result) {
    if (hwnd != handle_) return result;
    switch (message) {
        case WM_KILLFOCUS:
            if (!context_.updating()) commit();
            return result;
        case WM_GETDLGCODE:
            // The dialog manager would otherwise turn Enter into a default-button press.
            return commitsOnEnter() && isEnterKeyDown(lParam) ? result | DLGC_WANTALLKEYS : result;
        default:
            return result;
    }
}

std::optional<LRESULT> TextFieldView::message(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM /*lParam*/) {
    if (hwnd != handle_) return std::nullopt;
    switch (message) {
        case WM_KEYDOWN:
            if (commitsOnEnter() && wParam == VK_RETURN) {
                if (!context_.updating()) commit();
                return 0;
            }
            return std::nullopt;
        case WM_CHAR:
            if (commitsOnEnter() && (wParam == L'\r' || wParam == L'\n')) return 0;  // no beep
            if (wParam >= 0x20 && wParam != 0x7F && !acceptsKey(static_cast<wchar_t>(wParam))) {
                return 0;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

void EditView::create(HWND parent) {
    createEdit(parent, baseStyle() | ES_AUTOHSCROLL, static_cast<const ui::Edit&>(model_).text());
}

void EditView::update() {
    NativeControl::update();
    setText(handle_, widen(static_cast<const ui::Edit&>(model_).text()));
}

void EditView::commit() {
    context_.forgetPending(*this);
    auto& edit = static_cast<ui::Edit&>(model_);
    const std::string typed = narrow(windowText(handle_));
    if (typed == edit.text()) return;
    context_.commitAction(*this, [&edit, typed] { edit.setText(typed); });
}

std::pair<RECT, RECT> SpinBoxView::parts() const {
    const RECT rect = placement();
    const int arrows = std::min<int>(context_.scale(17), (rect.right - rect.left) / 2);
    return {{rect.left, rect.top, rect.right - arrows, rect.bottom},
            {rect.right - arrows, rect.top, rect.right, rect.bottom}};
}

void SpinBoxView::create(HWND parent) {
    const auto& spin = static_cast<const ui::SpinBox&>(model_);
    parent_ = parent;
    const auto [field, buttons] = parts();
    createEdit(parent, baseStyle() | ES_AUTOHSCROLL, spin.text(), &field);
    // The arrows only report clicks; the position is never the number (no UDS_SETBUDDYINT).
    arrows_ = createWindow(parent, UPDOWN_CLASSW, (baseStyle() & ~WS_GROUP) | UDS_HOTTRACK, 0, {},
                           &buttons);
    SendMessageW(arrows_, UDM_SETRANGE32, 0, 100);
    SendMessageW(arrows_, UDM_SETPOS32, 0, 50);
}

void SpinBoxView::update() {
    NativeControl::update();
    setText(handle_, widen(static_cast<const ui::SpinBox&>(model_).text()));
}

void SpinBoxView::layout() {
    const auto [field, buttons] = parts();
    place(handle_, field);
    place(arrows_, buttons);
    applyFont(handle_);
}

void SpinBoxView::commit() {
    context_.forgetPending(*this);
    auto& spin = static_cast<ui::SpinBox&>(model_);
    const std::string typed = narrow(windowText(handle_));
    if (typed == spin.text()) return;
    context_.commitAction(*this, [&spin, typed] { spin.setText(typed); });
}

void SpinBoxView::step(int count) {
    if (context_.updating()) return;
    auto& spin = static_cast<ui::SpinBox&>(model_);
    context_.userAction(*this, [&spin, count] { spin.userStep(count); });
}

std::optional<LRESULT> SpinBoxView::notify(const NMHDR& header) {
    if (header.hwndFrom != arrows_ || header.code != UDN_DELTAPOS) return std::nullopt;
    step(reinterpret_cast<const NMUPDOWN&>(header).iDelta);
    return TRUE;  // the arrows keep their position
}

std::optional<LRESULT> SpinBoxView::message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == handle_ && message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        step(wParam == VK_UP ? 1 : -1);
        return 0;
    }
    return TextFieldView::message(hwnd, message, wParam, lParam);
}

bool SpinBoxView::acceptsKey(wchar_t key) const {
    // A surrogate is never a digit, sign or separator.
    if (key >= 0xD800 && key <= 0xDFFF) return false;
    return static_cast<const ui::SpinBox&>(model_).acceptsKey(static_cast<char32_t>(key));
}

void MemoView::create(HWND parent) {
    const auto& memo = static_cast<const ui::Memo&>(model_);
    // Centred text wraps (the About page); script text scrolls sideways instead.
    const DWORD shape = memo.centred ? ES_CENTER : (WS_HSCROLL | ES_AUTOHSCROLL);
    createEdit(parent,
               baseStyle() | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | shape |
                   (memo.readOnly ? ES_READONLY : 0),
               memo.text());
}

void MemoView::update() {
    NativeControl::update();
    const auto& memo = static_cast<const ui::Memo&>(model_);
    setText(handle_, widen(memo.text()));
    if (!!(GetWindowLongW(handle_, GWL_STYLE) & ES_READONLY) != memo.readOnly) {
        SendMessageW(handle_, EM_SETREADONLY, memo.readOnly, 0);
    }
}

void MemoView::commit() {
    context_.forgetPending(*this);
    auto& memo = static_cast<ui::Memo&>(model_);
    if (memo.readOnly) return;
    const std::string typed = narrow(windowText(handle_));
    if (typed == memo.text()) return;
    context_.commitAction(*this, [&memo, typed] { memo.setText(typed); });
}

RECT MemoView::placement() const {
    if (!static_cast<const ui::Memo&>(model_).fillParent) return NativeControl::placement();
    RECT client{};
    GetClientRect(parentWindow(), &client);
    return client;
}

}  // namespace morvane::win32
