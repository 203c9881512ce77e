#include "win32/view.h"

#include <commctrl.h>

#include <stdexcept>

#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/dispatch.h"
#include "toolkit/keyboard.h"
#include "toolkit/tab_control.h"
#include "win32/native_control.h"
#include "win32/view_context.h"
#include "win32/view_menu.h"
#include "win32/view_tabs.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

namespace {

constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr int kDefaultWidth = 1125;
constexpr int kDefaultHeight = 675;

template <typename Function>
Function user32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// GetDpiForWindow and AdjustWindowRectExForDpi exist from Windows 10 1607 on.
UINT dpiOf(HWND hwnd) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpi = user32<GetDpi>("GetDpiForWindow");
    if (getDpi) {
        if (const UINT dpi = getDpi(hwnd)) return dpi;
    }
    HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);
    return static_cast<UINT>(dpi);
}

void adjustFrame(RECT& rect, bool menu, UINT dpi) {
    using Adjust = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = user32<Adjust>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&rect, kFrameStyle, menu, 0, dpi)) {
        AdjustWindowRectEx(&rect, kFrameStyle, menu, 0);
    }
}

void registerClasses(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.lpszClassName = kWindowClass;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, kWindowClass, &existing)) RegisterClassExW(&windowClass);
    windowClass.hIcon = nullptr;
    windowClass.lpszClassName = kContainerClass;
    if (!GetClassInfoExW(instance, kContainerClass, &existing)) RegisterClassExW(&windowClass);
}

void forEach(ui::Control& control, const std::function<void(ui::Control&)>& visit) {
    visit(control);
    for (const auto& child : control.children()) forEach(*child, visit);
}

bool contains(const ui::Control& tree, const ui::Control* control) {
    if (&tree == control) return true;
    for (const auto& child : tree.children()) {
        if (contains(*child, control)) return true;
    }
    return false;
}

}  // namespace

Win32View::Win32View(ui::Control& form, ui::Platform& platform)
    : context_(std::make_unique<ViewContext>(form, platform)) {
    context_->dispatcher = this;
    context_->controlMessage = [this](NativeControl& native, HWND hwnd, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
        return handleControlMessage(native, hwnd, message, wParam, lParam);
    };
    context_->actionsDone = [this] { flush(); };
    registerClasses(context_->instance, windowProc);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(form.caption()).c_str(),
                              kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, context_->instance, this);
    if (!window_) throw std::runtime_error("The window could not be created.");
    context_->setDpi(dpiOf(window_));
    context_->createTooltip(window_);
    // Placed before the controls exist, so each is created where it stays.
    RECT at{};
    GetWindowRect(window_, &at);
    placeWindow(at);
    {
        ViewContext::Updating guard(*context_);
        if (!form.enabled()) EnableWindow(window_, FALSE);
        for (const auto& child : form.children()) createNatives(*child);
        relayout(form);  // what fills its parent follows the client size the menu bar leaves
    }
    form.setObserver(this);
}

Win32View::~Win32View() {
    context_->form.setObserver(nullptr);
    context_->close();
    if (IsWindow(window_)) DestroyWindow(window_);
}

void Win32View::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

HWND Win32View::window() const { return window_; }

HWND Win32View::hwnd(const ui::Control& control) const {
    if (&control == &context_->form) return window_;
    const NativeControl* native = context_->native(control);
    return native ? native->handle() : nullptr;
}

HWND Win32View::spinButton(const ui::Control& spinBox) const {
    const NativeControl* native = context_->native(spinBox);
    return native ? native->spinButton() : nullptr;
}

UINT Win32View::menuCommand(const ui::Control& menuItem) const {
    if (!menuItem.parent()) return 0;
    const auto* bar = dynamic_cast<const MenuBar*>(context_->native(*menuItem.parent()));
    return bar ? bar->commandOf(menuItem) : 0;
}

ui::Control* Win32View::controlOf(HWND hwnd) const {
    if (hwnd && hwnd == window_) return &context_->form;
    const NativeControl* native = context_->nativeAt(hwnd);
    return native ? &native->model() : nullptr;
}

std::wstring Win32View::tooltipText(const ui::Control& control) const {
    const NativeControl* native = context_->native(control);
    return native ? context_->tipText(native->handle()) : std::wstring();
}

std::wstring Win32View::hintAt(POINT screen) const {
    const HWND hit = WindowFromPoint(screen);
    if (!hit) return {};
    POINT client = screen;
    ScreenToClient(hit, &client);
    return context_->tipTextAt(hit, client);
}

// During a user action the change is shown once the action is over.
void Win32View::controlChanged(ui::Control& control) {
    if (!context_->inAction()) return mirror(control);
    if (changedSet_.insert(&control).second) changed_.push_back(&control);
}

void Win32View::flush() {
    while (!changed_.empty()) {
        const std::vector<ui::Control*> changed = std::move(changed_);
        changed_.clear();
        changedSet_.clear();
        for (ui::Control* control : changed) mirror(*control);
    }
    showFocus();
}

void Win32View::controlAdded(ui::Control& control) {
    if (context_->native(control)) return;
    ViewContext::Updating guard(*context_);
    createNatives(control);
}

void Win32View::controlRemoved(ui::Control& control) {
    ViewContext::Updating guard(*context_);
    removeNatives(control);
    std::erase_if(changed_, [&](ui::Control* changed) {
        if (!contains(control, changed)) return false;
        changedSet_.erase(changed);
        return true;
    });
}

// The model changed: the native control shows it again. What the view sends here must not come
// back as a user action, hence the guard.
void Win32View::mirror(ui::Control& control) {
    ViewContext::Updating guard(*context_);
    ui::Control& form = context_->form;
    if (&control == &form) {
        const std::wstring caption = widen(form.caption());
        if (windowText(window_) != caption) SetWindowTextW(window_, caption.c_str());
        if (!!IsWindowEnabled(window_) != form.enabled()) EnableWindow(window_, form.enabled());
    } else if (control.kind() == ui::Kind::MenuItem || control.kind() == ui::Kind::TabPage) {
        // An item's caption and state live in its menu bar or tab strip.
        if (NativeControl* native = context_->native(control)) native->update();
        if (NativeControl* owner = context_->native(*control.parent())) {
            owner->layout();
            owner->update();
        }
    } else if (NativeControl* native = context_->native(control)) {
        native->layout();
        native->update();
    }
    showFocus();
}

void Win32View::showFocus() {
    const ui::Control* focused = context_->form.focused();
    if (focused == focusShown_) return;
    focusShown_ = focused;
    const HWND target = focused ? hwnd(*focused) : nullptr;
    if (target && GetFocus() != target) {
        ViewContext::Updating guard(*context_);
        SetFocus(target);
    }
}

void Win32View::createNatives(ui::Control& control) {
    std::unique_ptr<NativeControl> made = makeNative(control, *context_);
    if (made) {
        NativeControl& native = context_->add(std::move(made));
        const ui::Control* parent = control.parent();
        const NativeControl* container = parent ? context_->native(*parent) : nullptr;
        native.create(container ? container->childParent() : window_);
        native.layout();
        native.update();
    }
    for (const auto& child : control.children()) createNatives(*child);
}

void Win32View::removeNatives(ui::Control& control) {
    forEach(control, [this](ui::Control& each) {
        if (NativeControl* native = context_->native(each)) native->destroy();
    });
    forEach(control, [this](ui::Control& each) { context_->remove(each); });
    if (contains(control, focusShown_)) focusShown_ = nullptr;
}

void Win32View::relayout(ui::Control& control) {
    forEach(control, [this](ui::Control& each) {
        if (NativeControl* native = context_->native(each)) native->layout();
    });
}

bool Win32View::hasMenuBar() const {
    for (const auto& child : context_->form.children()) {
        if (child->kind() != ui::Kind::MainMenu) continue;
        for (const auto& item : child->children()) {
            if (item->visible()) return true;
        }
    }
    return false;
}

// The client area has the form's size at 96 DPI, scaled, and the window is centred on its
// monitor's work area. A window that would not fit takes the work area's size instead; its page
// control then scrolls.
void Win32View::placeWindow(const RECT& around) {
    const ui::Rect& bounds = context_->form.bounds;
    RECT frame{0, 0, context_->scale(bounds.width > 0 ? bounds.width : kDefaultWidth),
               context_->scale(bounds.height > 0 ? bounds.height : kDefaultHeight)};
    adjustFrame(frame, hasMenuBar(), context_->dpi());
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&around, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = std::min<int>(frame.right - frame.left, work.right - work.left);
    const int height = std::min<int>(frame.bottom - frame.top, work.bottom - work.top);
    const int x = work.left + static_cast<int>(work.right - work.left - width) / 2;
    const int y = work.top + static_cast<int>(work.bottom - work.top - height) / 2;
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Win32View::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32View* view = nullptr;
    if (message == WM_NCCREATE) {
        view = static_cast<Win32View*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    } else {
        view = reinterpret_cast<Win32View*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    return view ? view->handleMessage(hwnd, message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

// The main window and every container.
LRESULT Win32View::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool main = hwnd == window_;
    if (NativeControl* container = main ? nullptr : context_->nativeAt(hwnd)) {
        if (const auto result = container->message(hwnd, message, wParam, lParam)) return *result;
    }
    switch (message) {
        case WM_COMMAND:
            return onCommand(hwnd, wParam, lParam);
        case WM_NOTIFY:
            return onNotify(hwnd, wParam, lParam);
        case WM_DRAWITEM:
            return onDrawItem(hwnd, wParam, lParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return onControlColor(reinterpret_cast<HDC>(wParam));
        case WM_CLOSE:
            // A multi-line edit sends its parent WM_CLOSE on Escape; only the window closes.
            if (!main) return 0;
            context_->close();
            break;
        case WM_ACTIVATE:
            if (main) {
                onActivate(wParam);
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (main) {
                onActivate(WA_ACTIVE);
                return 0;
            }
            break;
        case WM_NEXTDLGCTL:
            // A multi-line edit asks its parent for the next control, whatever container that is.
            onNextControl(wParam, lParam);
            return 0;
        case WM_SIZE:
            if (main && !context_->updating()) {
                ViewContext::Updating guard(*context_);
                relayout(context_->form);
            }
            break;
        case WM_ENABLE:
        case WM_ENTERIDLE:
            // A modal dialog opens over the window: it shows the model as it stands.
            if (main && (message == WM_ENTERIDLE || !wParam)) flush();
            break;
        case WM_DPICHANGED:
            if (main) {
                onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
                return 0;
            }
            break;
        case WM_DESTROY:
            if (main) onDestroy();
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Messages to native controls of the program's own classes, before their class's procedure. A
// group box is the parent of the controls inside it, so their notifications arrive here and go
// to the one dispatcher like any container's.
std::optional<LRESULT> Win32View::handleControlMessage(NativeControl& native, HWND hwnd,
                                                       UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (context_->nativeAt(reinterpret_cast<HWND>(lParam))) {
                return onCommand(hwnd, wParam, lParam);
            }
            break;
        case WM_NOTIFY:
            if (context_->nativeAt(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom)) {
                return onNotify(hwnd, wParam, lParam);
            }
            break;
        case WM_DRAWITEM:
            if (context_->nativeAt(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem)) {
                return onDrawItem(hwnd, wParam, lParam);
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            // The background of a group box's controls is the one around the box.
            if (context_->nativeAt(reinterpret_cast<HWND>(lParam))) {
                return SendMessageW(GetParent(hwnd), message, wParam, lParam);
            }
            break;
        case WM_SETFOCUS:
            // The model remembers which control has the focus, whoever moved it.
            if (!context_->updating()) {
                focusShown_ = &native.model();
                native.model().setFocus();
            }
            reveal(native, hwnd);
            break;
        default:
            break;
    }
    return native.message(hwnd, message, wParam, lParam);
}

void Win32View::reveal(NativeControl& native, HWND hwnd) {
    for (const ui::Control* at = native.model().parent(); at; at = at->parent()) {
        if (at->kind() != ui::Kind::PageControl) continue;
        if (auto* pages = dynamic_cast<PageControlView*>(context_->native(*at))) {
            ViewContext::Updating guard(*context_);
            pages->reveal(hwnd);
        }
    }
}

LRESULT Win32View::onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const auto source = reinterpret_cast<HWND>(lParam);
    const WORD id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        // IsDialogMessage turns Enter and Escape into these (no control has their ids): Enter
        // presses a focused push button, as in a dialog; Escape closes nothing.
        const HWND focus = GetFocus();
        if (id == IDOK && context_->nativeAt(focus) &&
            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)) {
            SendMessageW(focus, BM_CLICK, 0, 0);
        }
        return 0;
    }
    if (!source) {
        if (HIWORD(wParam) == 0) {
            for (const auto& child : context_->form.children()) {
                if (auto* bar = dynamic_cast<MenuBar*>(context_->native(*child))) {
                    if (bar->choose(id)) return 0;
                }
            }
        }
        return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
    }
    NativeControl* native = context_->nativeAt(source);
    if (native && GetDlgCtrlID(source) == id) native->command(HIWORD(wParam));
    return 0;
}

LRESULT Win32View::onNotify(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (NativeControl* native = context_->nativeAt(header.hwndFrom)) {
        if (const auto result = native->notify(header)) return *result;
    }
    return DefWindowProcW(hwnd, WM_NOTIFY, wParam, lParam);
}

LRESULT Win32View::onDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (NativeControl* native = context_->nativeAt(item.hwndItem)) {
        native->drawItem(item);
        return TRUE;
    }
    return DefWindowProcW(hwnd, WM_DRAWITEM, wParam, lParam);
}

// Labels, check boxes and read-only text on the dialog background.
LRESULT Win32View::onControlColor(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// A plain window gives the focus to itself when activated; a dialog gives it back to the
// control that had it (the model keeps which), or to the first one.
void Win32View::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam)) return;  // left, or minimised
    ui::Control& form = context_->form;
    for (const ui::Control* candidate : {form.focused(), ui::firstTabStop(form)}) {
        const HWND target = candidate ? hwnd(*candidate) : nullptr;
        if (target && IsWindowVisible(target) && IsWindowEnabled(target)) {
            SetFocus(target);
            return;
        }
    }
}

// The dialog manager's request for the next control: a named one, or the next along the Tab
// order.
void Win32View::onNextControl(WPARAM wParam, LPARAM lParam) {
    if (lParam) {
        if (context_->nativeAt(reinterpret_cast<HWND>(wParam)))
            SetFocus(reinterpret_cast<HWND>(wParam));
        return;
    }
    tab(wParam == 0);
}

void Win32View::tab(bool forward) {
    context_->commitPending();
    {
        ViewContext::Action running(*context_);
        ui::dispatch(context_->platform,
                     [this, forward] { ui::moveFocus(context_->form, forward); });
    }
    const HWND focus = GetFocus();
    if (focus && context_->nativeAt(focus) &&
        (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) {
        SendMessageW(focus, EM_SETSEL, 0, -1);
    }
}

bool Win32View::translate(const MSG& message) {
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
        if (HWND tooltip = context_->tooltip()) {
            SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
        }
        return false;
    }
    if (message.message != WM_KEYDOWN || context_->updating()) return false;
    if (message.wParam == VK_TAB) {
        if (GetKeyState(VK_CONTROL) < 0) return false;  // Ctrl+Tab is the control's own
        tab(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    return arrowKey(message.wParam);
}

// The arrows on a radio button, a closed drop-down list or a tab strip choose as the model's
// keyboard rules say, through the same action as a click; on a button or check box they do
// nothing. Elsewhere (text fields, spin boxes) they are the control's own.
bool Win32View::arrowKey(WPARAM key) {
    const bool vertical = key == VK_UP || key == VK_DOWN;
    if (!vertical && key != VK_LEFT && key != VK_RIGHT) return false;
    ui::Control* focused = context_->form.focused();
    NativeControl* native = focused ? context_->native(*focused) : nullptr;
    if (!native || native->handle() != GetFocus()) return false;
    const bool forward = key == VK_RIGHT || key == VK_DOWN;
    switch (focused->kind()) {
        case ui::Kind::RadioButton: {
            ui::RadioButton& next =
                ui::radioNeighbour(static_cast<ui::RadioButton&>(*focused), forward);
            context_->userAction(*native, [&next] { next.userClick(); });
            return true;
        }
        case ui::Kind::ComboBox: {
            if (SendMessageW(native->handle(), CB_GETDROPPEDSTATE, 0, 0)) return false;
            auto& box = static_cast<ui::ComboBox&>(*focused);
            const int index = ui::listStep(box, forward);
            if (index >= 0) context_->userAction(*native, [&box, index] { box.userSelect(index); });
            return true;
        }
        case ui::Kind::TabControl: {
            auto& tabs = static_cast<ui::TabControl&>(*focused);
            const int index = vertical ? -1 : ui::tabStep(tabs, forward);
            if (index >= 0)
                context_->userAction(*native, [&tabs, index] { tabs.userSelect(index); });
            return true;
        }
        case ui::Kind::Button:
        case ui::Kind::CheckBox:
            return true;
        default:
            return false;
    }
}

void Win32View::onDpiChanged(UINT dpi, const RECT& suggested) {
    ViewContext::Updating guard(*context_);
    context_->setDpi(dpi);
    placeWindow(suggested);
    relayout(context_->form);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32View::onDestroy() { context_->close(); }

void processMessage(Win32View& view, MSG& message) {
    if (view.translate(message)) return;
    if (IsDialogMessageW(view.window(), &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop(Win32View& view) {
    MSG message{};
    while (IsWindow(view.window())) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got < 0) return -1;
        processMessage(view, message);
    }
    return 0;
}

}  // namespace morvane::win32
