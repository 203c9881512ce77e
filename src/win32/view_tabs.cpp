#include "win32/view_tabs.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

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

void PageControlView::create(HWND parent) {
    createWindow(parent, kContainerClass, baseStyle());
    updateScrollBars();
}

void PageControlView::update() {
    NativeControl::update();
    updatePages(tabsOf(model_), context_);
}

// The part of the page control that lies in its parent's client area.
RECT PageControlView::placement() const {
    RECT client{};
    GetClientRect(parentWindow(), &client);
    if (model_.bounds.width <= 0 && model_.bounds.height <= 0) return client;
    RECT rect = NativeControl::placement();
    rect.right = std::max(rect.left, std::min(rect.right, client.right));
    rect.bottom = std::max(rect.top, std::min(rect.bottom, client.bottom));
    return rect;
}

void PageControlView::layout() {
    place(handle_, placement());
    updateScrollBars();
}

RECT PageControlView::pageArea() const {
    return {-position_.x, -position_.y, content_.cx - position_.x, content_.cy - position_.y};
}

// Scroll bars only where the pages do not fit: at the designed size nothing changes. A bar
// that appears takes room from the other direction, hence a second round.
void PageControlView::updateScrollBars() {
    RECT client{};
    GetClientRect(handle_, &client);
    SIZE content = {client.right, client.bottom};
    if (model_.bounds.width > 0 || model_.bounds.height > 0) {
        content = {context_.scale(model_.bounds.width), context_.scale(model_.bounds.height)};
    }
    const bool resized = content.cx != content_.cx || content.cy != content_.cy;
    content_ = content;
    for (int round = 0; round < 2; ++round) {
        GetClientRect(handle_, &client);
        const bool needed = content.cx > client.right || content.cy > client.bottom ||
                            (GetWindowLongW(handle_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
        if (!needed) break;
        const auto bar = [this](int which, LONG size, LONG page) {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE;
            info.nMax = size - 1;
            info.nPage = static_cast<UINT>(std::max<LONG>(page, 0));
            SetScrollInfo(handle_, which, &info, TRUE);
        };
        bar(SB_HORZ, content.cx, client.right);
        bar(SB_VERT, content.cy, client.bottom);
    }
    GetClientRect(handle_, &client);
    const POINT limit{std::max<LONG>(0, content.cx - client.right),
                      std::max<LONG>(0, content.cy - client.bottom)};
    const POINT wanted{std::min(position_.x, limit.x), std::min(position_.y, limit.y)};
    if (resized || wanted.x != position_.x || wanted.y != position_.y) {
        position_ = {-1, -1};
        scrollTo(wanted.x, wanted.y);
    }
}

void PageControlView::scrollTo(int x, int y) {
    RECT client{};
    GetClientRect(handle_, &client);
    x = std::clamp<int>(x, 0, std::max<int>(0, content_.cx - client.right));
    y = std::clamp<int>(y, 0, std::max<int>(0, content_.cy - client.bottom));
    if (x == position_.x && y == position_.y) return;
    position_ = {x, y};
    if (GetWindowLongW(handle_, GWL_STYLE) & WS_HSCROLL) SetScrollPos(handle_, SB_HORZ, x, TRUE);
    if (GetWindowLongW(handle_, GWL_STYLE) & WS_VSCROLL) SetScrollPos(handle_, SB_VERT, y, TRUE);
    ViewContext::Updating guard(context_);
    for (const auto& page : model_.children()) {
        if (NativeControl* native = context_.native(*page)) native->layout();
    }
}

void PageControlView::onScroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(handle_, bar, &info);
    int position = info.nPos;
    const int line = context_.scale(24);
    switch (request) {
        case SB_LINEUP:
            position -= line;
            break;
        case SB_LINEDOWN:
            position += line;
            break;
        case SB_PAGEUP:
            position -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            position += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        default:
            return;
    }
    if (bar == SB_HORZ) {
        scrollTo(position, position_.y);
    } else {
        scrollTo(position_.x, position);
    }
}

void PageControlView::reveal(HWND hwnd) {
    if (!IsChild(handle_, hwnd)) return;
    RECT rect{}, client{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(HWND_DESKTOP, handle_, reinterpret_cast<POINT*>(&rect), 2);
    GetClientRect(handle_, &client);
    const auto shift = [](LONG low, LONG high, LONG size) -> LONG {
        if (low < 0) return low;
        if (high > size) return std::min(high - size, low);
        return 0;
    };
    scrollTo(position_.x + shift(rect.left, rect.right, client.right),
             position_.y + shift(rect.top, rect.bottom, client.bottom));
}

std::optional<LRESULT> PageControlView::message(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM /*lParam*/) {
    if (hwnd != handle_) return std::nullopt;
    switch (message) {
        case WM_HSCROLL:
            onScroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_VSCROLL:
            onScroll(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL: {
            if (!(GetWindowLongW(handle_, GWL_STYLE) & WS_VSCROLL)) return std::nullopt;
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            scrollTo(position_.x, position_.y - notches * 3 * context_.scale(24));
            return 0;
        }
        default:
            return std::nullopt;
    }
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
// refused, so a disabled tab is turned away before. A button press remembers its tab for
// TCN_SELCHANGING, which does not say which tab is wanted.
std::optional<LRESULT> TabControlView::message(HWND /*hwnd*/, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        TCHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        clickedTab_ =
            static_cast<int>(SendMessageW(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        return std::nullopt;
    }
    if (message != TCM_SETCURFOCUS || context_.updating()) return std::nullopt;
    const ui::TabPage* target = tabsOf(model_).page(static_cast<int>(wParam));
    if (target && !target->enabled()) return 0;
    return std::nullopt;
}

LRESULT TabControlView::afterMessage(HWND /*hwnd*/, UINT message, WPARAM /*wParam*/,
                                     LPARAM /*lParam*/, LRESULT result) {
    if (message == WM_LBUTTONDOWN) clickedTab_ = -1;
    return result;
}

// A click's tab is the one pressed; the keyboard's (and TCM_SETCURFOCUS's) has the focus.
int TabControlView::targetTab() const {
    if (clickedTab_ >= 0) return clickedTab_;
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

TabPageView::~TabPageView() { dropBody(); }

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
    const NativeControl* native = context_.native(owner);
    if (owner.kind() == ui::Kind::TabControl) {
        return static_cast<const TabControlView*>(native)->displayArea();
    }
    return static_cast<const PageControlView*>(native)->pageArea();
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

void TabPageView::dropBody() {
    if (body_) DeleteObject(body_);
    body_ = nullptr;
    bodyMade_ = false;
}

namespace {

// A 32-bit top-down bitmap to draw into and read back.
struct Canvas {
    Canvas(HDC screen, int width, int height) : width(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(screen);
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dc && bitmap) previous = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        if (previous) SelectObject(dc, previous);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    bool ready() const { return dc && bitmap && bits; }
    DWORD pixel(int x, int y) const {
        return static_cast<const DWORD*>(bits)[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
    }
    // Hands the bitmap over (the canvas no longer deletes it).
    HBITMAP release() {
        SelectObject(dc, previous);
        previous = nullptr;
        HBITMAP kept = bitmap;
        bitmap = nullptr;
        return kept;
    }

    int width;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    void* bits = nullptr;
};

HBRUSH patternOf(HBITMAP bitmap) {
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    return brush;
}

}  // namespace

// The body as a brush the size of the page: it fills the page, and controls on it paint their
// background with it from their own offset. A body whose every row is of one colour (a plain
// or a top-to-bottom shade) is kept as one column that the brush repeats, which costs a page's
// height instead of its area.
HBRUSH TabPageView::body() {
    if (bodyMade_) return body_;
    if (model_.parent()->kind() != ui::Kind::TabControl) {
        bodyMade_ = true;
        return nullptr;
    }
    RECT client{};
    GetClientRect(handle_, &client);
    if (client.right <= 0 || client.bottom <= 0) return nullptr;
    bodyMade_ = true;
    HTHEME theme = OpenThemeData(context_.native(*model_.parent())->handle(), L"TAB");
    if (!theme) return nullptr;
    const int width = client.right;
    const int height = client.bottom;
    HDC screen = GetDC(handle_);
    {
        constexpr int kBand = 64;
        std::vector<DWORD> column(static_cast<size_t>(height));
        bool rowsPlain = true;
        Canvas band(screen, width, kBand);
        for (int top = 0; rowsPlain && band.ready() && top < height; top += kBand) {
            const RECT body{0, -top, width, height - top};
            const RECT clip{0, 0, width, kBand};
            DrawThemeBackground(theme, band.dc, TABP_BODY, 0, &body, &clip);
            GdiFlush();
            for (int y = 0; rowsPlain && y < kBand && top + y < height; ++y) {
                column[static_cast<size_t>(top + y)] = band.pixel(0, y);
                for (int x = 1; rowsPlain && x < width; ++x)
                    rowsPlain = band.pixel(x, y) == band.pixel(0, y);
            }
        }
        if (band.ready() && rowsPlain) {
            Canvas strip(screen, 1, height);
            if (strip.ready()) {
                for (int y = 0; y < height; ++y) {
                    static_cast<DWORD*>(strip.bits)[y] = column[static_cast<size_t>(y)];
                }
                body_ = patternOf(strip.release());
            }
        } else {
            Canvas whole(screen, width, height);
            if (whole.ready()) {
                DrawThemeBackground(theme, whole.dc, TABP_BODY, 0, &client, nullptr);
                GdiFlush();
                body_ = patternOf(whole.release());
            }
        }
    }
    ReleaseDC(handle_, screen);
    CloseThemeData(theme);
    return body_;
}

std::optional<LRESULT> TabPageView::message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
        case WM_THEMECHANGED:
            dropBody();
            InvalidateRect(hwnd, nullptr, TRUE);
            return std::nullopt;
        case WM_ERASEBKGND:
        case WM_PRINTCLIENT: {
            HBRUSH brush = body();
            if (!brush) return std::nullopt;
            RECT client{};
            GetClientRect(hwnd, &client);
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            FillRect(dc, &client, brush);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HBRUSH brush = body();
            if (!brush) return std::nullopt;
            const auto dc = reinterpret_cast<HDC>(wParam);
            POINT origin{0, 0};
            MapWindowPoints(reinterpret_cast<HWND>(lParam), hwnd, &origin, 1);
            SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(brush);
        }
        default:
            return std::nullopt;
    }
}

}  // namespace morvane::win32
