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
        if (view_ && IsDialogMessageW(view_->window(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
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

// The field loses the focus (which commits), then the focus rests where the model says: on the
// field, unless a handler moved it. The main window is no place to park it: it hands the focus
// straight back to a control.
void Win32Backend::leave(HWND field) {
    if (GetFocus() == field) SetFocus(nullptr);
    pump();
    if (ui::Control* focused = form_->focused()) {
        HWND target = view_->hwnd(*focused);
        if (target && GetFocus() != target) SetFocus(target);
        pump();
    }
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
    leave(hwnd);
}

void Win32Backend::typeKeys(ui::Control& field, const std::string& text) {
    HWND hwnd = handle(field);
    SetFocus(hwnd);
    pump();
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    const std::wstring keys = widen(text);
    for (size_t i = 0; i < keys.size(); ++i) {
        const wchar_t key = keys[i];
        if (key == L'\n' && i > 0 && keys[i - 1] == L'\r') continue;
        if ((key == L'\r' || key == L'\n') && field.kind() != ui::Kind::Memo) {
            // Enter commits a one-line field; typing goes on at the end of what it then shows.
            constexpr LPARAM kEnterScanCode = 0x1C << 16 | 1;
            SendMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, kEnterScanCode);
            SendMessageW(GetFocus(), WM_CHAR, L'\r', kEnterScanCode);
            pump();
            const LRESULT end = GetWindowTextLengthW(hwnd);
            SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
            continue;
        }
        SendMessageW(GetFocus(), WM_CHAR, key == L'\n' ? L'\r' : key, 1);
        pump();
    }
    leave(hwnd);
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

// The strip takes the focus as on a click (TCS_FOCUSONBUTTONDOWN), then moves to the tab its own
// way: it asks its parent with TCN_SELCHANGING and, unless refused, selects the tab and reports
// TCN_SELCHANGE. Sending those notifications from here instead would leave the tab under
// question unknown to the parent.
bool Win32Backend::selectTab(ui::TabControl& tabs, int index) {
    HWND hwnd = handle(tabs);
    SetFocus(hwnd);
    pump();
    if (SendMessageW(hwnd, TCM_GETCURSEL, 0, 0) == index) return true;
    SendMessageW(hwnd, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
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

std::string Win32Backend::hint(ui::Control& control) const {
    return narrow(view_->tooltipText(control));
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
