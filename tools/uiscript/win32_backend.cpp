#include "tools/uiscript/win32_backend.h"

#include <commctrl.h>

#include "tools/uiscript/script.h"
#include "tools/uiscript/scripted_platform.h"

namespace morvane::uiscript {

namespace {

std::string windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

std::string menuText(HMENU menu, UINT item, UINT by) {
    const int length = GetMenuStringW(menu, item, nullptr, 0, by);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        GetMenuStringW(menu, item, text.data(), static_cast<int>(text.size()), by)));
    return narrow(text);
}

int indexInParent(const ui::Control& control) {
    const auto& siblings = control.parent()->children();
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == &control) return static_cast<int>(i);
    }
    return -1;
}

// The path of the folder holding a file, "" for a root.
std::wstring parentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash <= 2) return {};
    return path.substr(0, slash);
}

}  // namespace

Win32Backend::Win32Backend(const std::filesystem::path& folder, Starter starter)
    : starter_(std::move(starter)) {
    // The window's controls come from the common controls library, as in the program.
    static const bool controlsReady = [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC =
            ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS;
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)controlsReady;
    // Under Wine a Unix path becomes the Windows one ("/tmp/x" on drive Z: is "Z:\tmp\x").
    const std::wstring given = folder.wstring();
    std::wstring full(GetFullPathNameW(given.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    folder_ = narrow(full);
}

Win32Backend::~Win32Backend() {
    stop();
    for (const std::wstring& file : writtenFiles_) DeleteFileW(file.c_str());
    for (auto it = createdFolders_.rbegin(); it != createdFolders_.rend(); ++it) {
        RemoveDirectoryW(it->c_str());  // only when nothing else was put there
    }
}

bool Win32Backend::writeFile(const std::string& path, std::string_view bytes) {
    const std::wstring wide = widen(path);
    std::vector<std::wstring> missing;
    for (std::wstring at = parentOf(wide); !at.empty(); at = parentOf(at)) {
        if (GetFileAttributesW(at.c_str()) != INVALID_FILE_ATTRIBUTES) break;
        missing.push_back(at);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!CreateDirectoryW(it->c_str(), nullptr)) return false;
        if (!samePath(narrow(*it).substr(0, folder_.size()), folder_))
            createdFolders_.push_back(*it);
    }
    const bool inFolder = samePath(path.substr(0, folder_.size()), folder_) &&
                          path.size() > folder_.size() &&
                          (path[folder_.size()] == '\\' || path[folder_.size()] == '/');
    if (!inFolder && GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
        writtenFiles_.push_back(wide);
    }
    return files_.writeFile(path, bytes);
}

ui::Control& Win32Backend::start(ui::Platform& platform) {
    form_ = starter_(platform);
    view_ = std::make_unique<win32::Win32View>(*form_, platform);
    view_->show(SW_SHOWNORMAL);
    SetForegroundWindow(view_->window());
    pump();
    return *form_;
}

void Win32Backend::stop() {
    view_.reset();
    pump();
    form_.reset();
}

void Win32Backend::pump() const {
    MSG msg;
    for (int guard = 0; guard < 100000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (msg.message == WM_QUIT) continue;  // a closed window's; the runner decides when to stop
        if (view_) {
            win32::processMessage(*view_, msg);
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

HWND Win32Backend::handle(const ui::Control& control) const {
    if (control.kind() == ui::Kind::Window) return view_->window();
    HWND hwnd = view_->hwnd(control);
    if (!hwnd) fail(control.name() + " has no native control in the window");
    return hwnd;
}

bool Win32Backend::isTabStrip(HWND hwnd) const {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return lstrcmpiW(name, WC_TABCONTROLW) == 0;
}

// The field loses the focus (which commits), then the focus rests where the model says. The
// main window is no place to park it: it hands the focus straight back to a control.
void Win32Backend::leave() {
    SetFocus(nullptr);
    pump();
    if (ui::Control* focused = form_->focused()) {
        HWND target = view_->hwnd(*focused);
        if (target && GetFocus() != target) SetFocus(target);
        pump();
    }
}

namespace {

// The window a key goes to: the focused one, or the active window when none has the focus.
HWND keyTarget(HWND window) {
    HWND focus = GetFocus();
    return focus ? focus : window;
}

void setShift(bool down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = down ? 0x80 : 0;
    state[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

LPARAM keyData(WORD virtualKey, bool up) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const bool extended = virtualKey == VK_LEFT || virtualKey == VK_RIGHT || virtualKey == VK_UP ||
                          virtualKey == VK_DOWN;
    return static_cast<LPARAM>(1u | scan << 16 | (extended ? 1u << 24 : 0u) |
                               (up ? 0xC0000000u : 0u));
}

}  // namespace

void Win32Backend::key(WORD virtualKey, bool shift) {
    if (shift) {
        setShift(true);
        PostMessageW(keyTarget(view_->window()), WM_KEYDOWN, VK_SHIFT, keyData(VK_SHIFT, false));
    }
    PostMessageW(keyTarget(view_->window()), WM_KEYDOWN, virtualKey, keyData(virtualKey, false));
    pump();
    PostMessageW(keyTarget(view_->window()), WM_KEYUP, virtualKey, keyData(virtualKey, true));
    pump();
    if (shift) {
        PostMessageW(keyTarget(view_->window()), WM_KEYUP, VK_SHIFT, keyData(VK_SHIFT, true));
        pump();
        setShift(false);
    }
}

void Win32Backend::character(wchar_t typed) {
    HWND target = keyTarget(view_->window());
    PostMessageW(target, WM_KEYDOWN, VK_PACKET, 1);
    PostMessageW(target, WM_CHAR, typed, 1);
    pump();
    PostMessageW(keyTarget(view_->window()), WM_KEYUP, VK_PACKET, static_cast<LPARAM>(0xC0000001u));
    pump();
}

void Win32Backend::click(ui::Control& control) {
    SendMessageW(handle(control), BM_CLICK, 0, 0);
    pump();
}

void Win32Backend::chooseMenu(ui::MenuItem& item) {
    const UINT id = view_->menuCommand(item);
    if (!id) fail(item.name() + " has no command in the window's menu");
    SendMessageW(view_->window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pump();
}

void Win32Backend::typeText(ui::Control& field, const std::string& text) {
    HWND hwnd = handle(field);
    SetFocus(hwnd);
    pump();
    std::string pasted = text;
    if (field.kind() == ui::Kind::Memo) {
        // A multi-line edit box breaks lines at CR LF only.
        pasted.clear();
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) pasted += '\r';
            pasted += text[i];
            if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) pasted += '\n';
        }
    }
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(pasted).c_str()));
    pump();
    leave();
}

// Each character is a key: a line break (CR, LF or CR LF) Enter, a tab Tab, "\x08" Backspace,
// a blank Space; every other one is typed as itself.
void Win32Backend::typeKeys(ui::Control& field, const std::string& text) {
    HWND hwnd = handle(field);
    SetFocus(hwnd);
    pump();
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    pump();
    const std::wstring keys = widen(text);
    for (size_t i = 0; i < keys.size(); ++i) {
        const wchar_t typed = keys[i];
        if (typed == L'\n' && i > 0 && keys[i - 1] == L'\r') continue;
        if (typed == L'\r' || typed == L'\n') {
            key(VK_RETURN);
        } else if (typed == L'\t') {
            key(VK_TAB);
        } else if (typed == 0x08) {
            key(VK_BACK);
        } else if (typed == L' ') {
            key(VK_SPACE);
        } else {
            character(typed);
        }
    }
    leave();
}

void Win32Backend::press(Key pressed) {
    switch (pressed) {
        case Key::Tab:
            return key(VK_TAB);
        case Key::ShiftTab:
            return key(VK_TAB, true);
        case Key::Enter:
            return key(VK_RETURN);
        case Key::Space:
            return key(VK_SPACE);
        case Key::Up:
            return key(VK_UP);
        case Key::Down:
            return key(VK_DOWN);
        case Key::Left:
            return key(VK_LEFT);
        case Key::Right:
            return key(VK_RIGHT);
        case Key::Backspace:
            return key(VK_BACK);
    }
}

void Win32Backend::select(ui::ComboBox& box, int index) {
    HWND hwnd = handle(box);
    const std::vector<std::string> shown = items(box);
    if (shown != box.items()) {
        std::string model, window;
        for (const auto& item : box.items()) model += (model.empty() ? "" : " ") + showText(item);
        for (const auto& item : shown) window += (window.empty() ? "" : " ") + showText(item);
        fail("the window lists other entries than the model",
             {{"model", model}, {"window", window}});
    }
    SetFocus(hwnd);
    pump();
    SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
    pump();
}

// A click on the tab: the button goes down and up at the middle of the tab's rectangle, where
// the pointer must find the strip; the strip then asks its parent (TCN_SELCHANGING), which may
// refuse.
bool Win32Backend::selectTab(ui::TabControl& tabs, int index) {
    HWND hwnd = handle(tabs);
    RECT item{};
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&item))) {
        fail("tab " + std::to_string(index) + " of " + tabs.name() + " has no place on its strip");
    }
    POINT middle{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    POINT screen = middle;
    ClientToScreen(hwnd, &screen);
    if (WindowFromPoint(screen) != hwnd) {
        fail("the pointer cannot reach tab " + std::to_string(index) + " of " + tabs.name() +
             ": another window covers it there");
    }
    const LPARAM at = MAKELPARAM(middle.x, middle.y);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    pump();
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    pump();
    return SendMessageW(hwnd, TCM_GETCURSEL, 0, 0) == index;
}

void Win32Backend::screenshot(const std::filesystem::path& bmp) {
    RedrawWindow(view_->window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump();
    if (!win32::saveWindowImage(view_->window(), bmp.wstring())) {
        fail("could not save the window as " + showText(narrow(bmp.wstring())));
    }
}

std::string Win32Backend::text(ui::Control& control) const {
    if (control.kind() == ui::Kind::MenuItem) {
        HMENU bar = GetMenu(view_->window());
        const UINT id = view_->menuCommand(control);
        // An item off the bar shows nothing to hold against the model.
        if (GetMenuState(bar, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) return control.caption();
        return menuText(bar, id, MF_BYCOMMAND);
    }
    if (control.kind() == ui::Kind::TabPage && isTabStrip(handle(*control.parent()))) {
        const std::vector<std::string> captions =
            tabs(static_cast<ui::TabControl&>(*control.parent()));
        const auto index = static_cast<size_t>(indexInParent(control));
        return index < captions.size() ? captions[index] : std::string("(no tab)");
    }
    return windowText(handle(control));
}

std::vector<std::string> Win32Backend::items(ui::ComboBox& box) const {
    HWND hwnd = handle(box);
    std::vector<std::string> result;
    const LRESULT count = SendMessageW(hwnd, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
        result.push_back(narrow(text));
    }
    return result;
}

int Win32Backend::selected(ui::ComboBox& box) const {
    return static_cast<int>(SendMessageW(handle(box), CB_GETCURSEL, 0, 0));
}

bool Win32Backend::checked(ui::Control& control) const {
    return SendMessageW(handle(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Win32Backend::enabled(ui::Control& control) const {
    if (control.kind() == ui::Kind::MenuItem) {
        const UINT state =
            GetMenuState(GetMenu(view_->window()), view_->menuCommand(control), MF_BYCOMMAND);
        // An item off the bar shows no state; there is nothing to hold against the model.
        if (state == static_cast<UINT>(-1)) return control.enabled();
        return !(state & (MF_GRAYED | MF_DISABLED));
    }
    return IsWindowEnabled(handle(control)) != FALSE;
}

bool Win32Backend::tabEnabled(ui::TabControl& tabs, int index) const {
    return IsWindowEnabled(handle(*tabs.page(index))) != FALSE;
}

int Win32Backend::tabIndex(ui::TabControl& tabs) const {
    HWND hwnd = handle(tabs);
    if (isTabStrip(hwnd)) return static_cast<int>(SendMessageW(hwnd, TCM_GETCURSEL, 0, 0));
    // A page control has no strip: the page it shows is the one whose window is shown.
    int shown = -1;
    for (int i = 0; i < tabs.count(); ++i) {
        if (GetWindowLongW(handle(*tabs.page(i)), GWL_STYLE) & WS_VISIBLE) {
            if (shown >= 0) return -2;  // more than one: no single page is shown
            shown = i;
        }
    }
    return shown;
}

std::vector<std::string> Win32Backend::tabs(ui::TabControl& tabs) const {
    HWND hwnd = handle(tabs);
    std::vector<std::string> captions;
    if (!isTabStrip(hwnd)) {
        // Nothing on screen names a page control's pages; the model's names stand.
        for (int i = 0; i < tabs.count(); ++i) captions.push_back(tabs.page(i)->caption());
        return captions;
    }
    const LRESULT count = SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[512] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 512;
        SendMessageW(hwnd, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.push_back(narrow(item.pszText ? item.pszText : L""));
    }
    return captions;
}

// The pointer rests on a point of the control that hit testing finds it at: the middle if
// that is one, else the first of a grid over the part its parents do not clip.
std::string Win32Backend::hint(ui::Control& control) const {
    HWND hwnd = handle(control);
    HWND arrows = view_->spinButton(control);
    RECT visible{};
    GetWindowRect(hwnd, &visible);
    for (HWND at = GetParent(hwnd); at; at = GetParent(at)) {
        RECT client{};
        GetClientRect(at, &client);
        MapWindowPoints(at, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
        IntersectRect(&visible, &visible, &client);
    }
    std::vector<POINT> points{
        {(visible.left + visible.right) / 2, (visible.top + visible.bottom) / 2}};
    constexpr int kSteps = 8;
    for (int row = 0; row <= kSteps; ++row) {
        for (int column = 0; column <= kSteps; ++column) {
            points.push_back({visible.left + (visible.right - visible.left - 1) * column / kSteps,
                              visible.top + (visible.bottom - visible.top - 1) * row / kSteps});
        }
    }
    if (!IsRectEmpty(&visible)) {
        for (const POINT& point : points) {
            const HWND hit = WindowFromPoint(point);
            if (hit == hwnd || (arrows && hit == arrows)) return narrow(view_->hintAt(point));
        }
    }
    fail("the pointer cannot rest on " + control.name() + ": no point of it is visible");
}

ui::Control* Win32Backend::focus() const {
    HWND focused = GetFocus();
    if (!focused || focused == view_->window()) return nullptr;
    return view_->controlOf(focused);
}

std::vector<std::string> Win32Backend::menu() const {
    std::vector<std::string> captions;
    HMENU bar = GetMenu(view_->window());
    for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) {
        captions.push_back(menuText(bar, static_cast<UINT>(i), MF_BYPOSITION));
    }
    return captions;
}

std::optional<std::string> Win32Backend::unreachable(ui::Control& control) const {
    if (control.kind() == ui::Kind::MenuItem) {
        const UINT state =
            GetMenuState(GetMenu(view_->window()), view_->menuCommand(control), MF_BYCOMMAND);
        if (state == static_cast<UINT>(-1)) return control.name() + " is not on the menu bar";
        if (state & (MF_GRAYED | MF_DISABLED)) return control.name() + " is greyed in the menu";
        return std::nullopt;
    }
    HWND hwnd = handle(control);
    if (!IsWindowVisible(hwnd)) return control.name() + " is not visible in the window";
    for (HWND at = hwnd; at; at = GetParent(at)) {
        if (!IsWindowEnabled(at)) {
            return control.name() + (at == hwnd ? " is disabled in the window"
                                                : " lies in a disabled native window");
        }
        if (at == view_->window()) break;
    }
    return std::nullopt;
}

}  // namespace morvane::uiscript
