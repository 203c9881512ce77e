#include "win32/view_static.h"

#include <algorithm>

#include "win32/view_context.h"

namespace morvane::win32 {

void LabelView::create(HWND parent) {
    const bool wrap = static_cast<const ui::Label&>(model_).wordWrap;
    // SS_NOTIFY: a static is otherwise transparent to the mouse, and its tooltip never shows.
    createWindow(parent, WC_STATICW,
                 baseStyle() | SS_NOTIFY | (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP | SS_CENTERIMAGE), 0,
                 caption());
}

void LabelView::update() {
    NativeControl::update();
    setText(handle_, caption());
    layout();
}

// A one-line label ends with its text: labels are laid out as if transparent, and the empty
// rest of a static would hide a neighbour's caption that it overlaps.
RECT LabelView::placement() const {
    RECT rect = NativeControl::placement();
    if (static_cast<const ui::Label&>(model_).wordWrap) return rect;
    const int width = context_.textWidth(model_.font, caption());
    rect.right = std::min(rect.right, rect.left + width + context_.scale(2));
    return rect;
}

void PanelView::create(HWND parent) { createWindow(parent, kContainerClass, baseStyle()); }

void GroupBoxView::create(HWND parent) {
    createWindow(parent, WC_BUTTONW, baseStyle() | BS_GROUPBOX | WS_CLIPCHILDREN,
                 WS_EX_CONTROLPARENT, caption());
}

void GroupBoxView::update() {
    NativeControl::update();
    setText(handle_, caption());
}

// A group box leaves its inside to the parent, and a container does not paint under its
// children: the box fills it itself, with the background its parent gives controls. It is the
// parent of the controls inside it, so the pointer finds it (and its hint) wherever none of
// them is; a plain group box lets the pointer through to the window below.
std::optional<LRESULT> GroupBoxView::message(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM /*lParam*/) {
    if (message == WM_NCHITTEST) return HTCLIENT;
    if (message != WM_ERASEBKGND) return std::nullopt;
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(hwnd)));
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

}  // namespace morvane::win32
