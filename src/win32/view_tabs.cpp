#include "win32/view_tabs.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "toolkit/tab_control.h"
#include "win32/view_context.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

namespace {

const ui::TabControl& tabsOf(const ui::Control& control) {
    return static_cast<const ui::TabControl&>(control);
}

int indexOf(const ui::Control& page) {
    const auto& siblings = page.parent()->children();
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == &page) return static_cast<int>(i);
    }
    return -1;
}

// Hides the other pages first, so two pages are never shown at once.
void updatePages(const ui::TabControl& tabs, ViewContext& context) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < tabs.count(); ++i) {
            if ((i == tabs.tabIndex()) != (pass == 1)) continue;
            if (NativeControl* page = context.native(*tabs.page(i))) {
                page->layout();
                page->update();
            }
        }
    }
}

}  // namespace

void PageControlView::create(HWND parent) { createWindow(parent, kContainerClass, baseStyle()); }

void PageControlView::update() {
    NativeControl::update();
    updatePages(tabsOf(model_), context_);
}

RECT PageControlView::placement() const {
    if (model_.bounds.width > 0 || model_.bounds.height > 0) return NativeControl::placement();
    RECT client{};
    GetClientRect(GetParent(handle_), &client);
    return client;
}

void TabControlView::create(HWND parent) {
    createWindow(
        parent, WC_TABCONTROLW,
        baseStyle() | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_OWNERDRAWFIXED | TCS_FOCUSONBUTTONDOWN);
}

void TabControlView::update() {
    NativeControl::update();
    const auto& tabs = tabsOf(model_);
    std::vector<std::wstring> wanted;
    wanted.reserve(static_cast<size_t>(tabs.count()));
    for (int i = 0; i < tabs.count(); ++i) wanted.push_back(widen(tabs.page(i)->caption()));
    // Only the items that differ change: a launch adds or removes tabs one at a time, and
    // rebuilding the whole strip each time costs a hundred tabs seconds.
    size_t first = 0;
    while (first < items_.size() && first < wanted.size() && items_[first] == wanted[first]) {
        ++first;
    }
    size_t last = 0;
    while (last < items_.size() - first && last < wanted.size() - first &&
           items_[items_.size() - 1 - last] == wanted[wanted.size() - 1 - last]) {
        ++last;
    }
    for (size_t i = items_.size() - last; i-- > first;) {
        SendMessageW(handle_, TCM_DELETEITEM, i, 0);
    }
    for (size_t i = first; i < wanted.size() - last; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = wanted[i].data();
        SendMessageW(handle_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    items_ = std::move(wanted);
    if (SendMessageW(handle_, TCM_GETCURSEL, 0, 0) != tabs.tabIndex()) {
        SendMessageW(handle_, TCM_SETCURSEL, tabs.tabIndex(), 0);
    }
    // The grey of disabled tabs is drawn by the view, so any change may alter it.
    InvalidateRect(handle_, nullptr, TRUE);
    updatePages(tabs, context_);
}

std::optional<LRESULT> TabControlView::notify(const NMHDR& header) {
    if (header.hwndFrom != handle_ || context_.updating()) return std::nullopt;
    const auto& tabs = tabsOf(model_);
    if (header.code == TCN_SELCHANGING) {
        const ui::TabPage* target = tabs.page(targetTab());
        return (target && !target->enabled()) ? TRUE : FALSE;
    }
    if (header.code == TCN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
        auto& control = static_cast<ui::TabControl&>(model_);
        // A refused choice (the keyboard can get here) is undone by showing the model again.
        context_.userAction(*this, [&control, index] { control.userSelect(index); });
        return 0;
    }
    return std::nullopt;
}

// Focusing a tab selects it; some tab controls (Wine's) select it even when TCN_SELCHANGING
// refused, so a disabled tab is turned away before.
std::optional<LRESULT> TabControlView::message(HWND /*hwnd*/, UINT message, WPARAM wParam,
                                               LPARAM /*lParam*/) {
    if (message != TCM_SETCURFOCUS || context_.updating()) return std::nullopt;
    const ui::TabPage* target = tabsOf(model_).page(static_cast<int>(wParam));
    if (target && !target->enabled()) return 0;
    return std::nullopt;
}

// TCN_SELCHANGING does not say which tab is wanted: a click's tab is under the pointer, the
// keyboard's (and TCM_SETCURFOCUS's) has the focus.
int TabControlView::targetTab() const {
    if (GetKeyState(VK_LBUTTON) < 0) {
        const DWORD position = GetMessagePos();
        TCHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ScreenToClient(handle_, &hit.pt);
        const int index =
            static_cast<int>(SendMessageW(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (index >= 0) return index;
    }
    return static_cast<int>(SendMessageW(handle_, TCM_GETCURFOCUS, 0, 0));
}

void TabControlView::drawItem(const DRAWITEMSTRUCT& item) {
    const auto& tabs = tabsOf(model_);
    const ui::TabPage* page = tabs.page(static_cast<int>(item.itemID));
    if (!page) return;
    const std::wstring text = widen(page->caption());
    const bool enabled = page->enabled() && tabs.enabled();
    const int savedDc = SaveDC(item.hDC);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    SelectObject(item.hDC, context_.font(model_.font));
    RECT rect = item.rcItem;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(item.hDC, savedDc);
}

RECT TabControlView::displayArea() const {
    RECT area{};
    GetWindowRect(handle_, &area);
    MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

TabPageView::~TabPageView() {
    if (body_) DeleteObject(body_);
}

void TabPageView::create(HWND parent) {
    createWindow(parent, kContainerClass, baseStyle());
    if (model_.parent()->kind() != ui::Kind::TabControl) return;
    // Just above the strip in z-order, so the page is drawn over the display area.
    HWND strip = context_.native(*model_.parent())->handle();
    HWND above = GetWindow(strip, GW_HWNDPREV);
    SetWindowPos(handle_, above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

RECT TabPageView::placement() const {
    const ui::Control& owner = *model_.parent();
    if (owner.kind() == ui::Kind::TabControl) {
        return static_cast<const TabControlView*>(context_.native(owner))->displayArea();
    }
    RECT client{};
    GetClientRect(GetParent(handle_), &client);
    return client;
}

bool TabPageView::shown() const {
    const ui::Control& owner = *model_.parent();
    const bool selected = indexOf(model_) == tabsOf(owner).tabIndex();
    return model_.visible() && selected &&
           (owner.kind() != ui::Kind::TabControl || owner.visible());
}

bool TabPageView::active() const {
    const ui::Control& owner = *model_.parent();
    return model_.enabled() && (owner.kind() != ui::Kind::TabControl || owner.enabled());
}

// The body as a brush the size of the page: it fills the page, and controls on it paint their
// background with it from their own offset.
void TabPageView::paintBody() {
    if (body_) DeleteObject(body_);
    body_ = nullptr;
    if (model_.parent()->kind() != ui::Kind::TabControl) return;
    HTHEME theme = OpenThemeData(context_.native(*model_.parent())->handle(), L"TAB");
    if (!theme) return;
    RECT client{};
    GetClientRect(handle_, &client);
    if (client.right > 0 && client.bottom > 0) {
        HDC screen = GetDC(handle_);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        DrawThemeBackground(theme, memory, TABP_BODY, 0, &client, nullptr);
        SelectObject(memory, previous);
        body_ = CreatePatternBrush(bitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(handle_, screen);
    }
    CloseThemeData(theme);
}

std::optional<LRESULT> TabPageView::message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
        case WM_THEMECHANGED:
            paintBody();
            InvalidateRect(hwnd, nullptr, TRUE);
            return std::nullopt;
        case WM_ERASEBKGND:
        case WM_PRINTCLIENT: {
            if (!body_) return std::nullopt;
            RECT client{};
            GetClientRect(hwnd, &client);
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            FillRect(dc, &client, body_);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            if (!body_) return std::nullopt;
            const auto dc = reinterpret_cast<HDC>(wParam);
            POINT origin{0, 0};
            MapWindowPoints(reinterpret_cast<HWND>(lParam), hwnd, &origin, 1);
            SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(body_);
        }
        default:
            return std::nullopt;
    }
}

}  // namespace morvane::win32
