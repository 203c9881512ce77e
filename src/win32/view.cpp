#include "win32/view.h"

#include <commctrl.h>

#include <stdexcept>

#include "win32/native_control.h"
#include "win32/view_context.h"
#include "win32/view_menu.h"
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
    context_->subclassProc = controlProc;
    registerClasses(context_->instance, windowProc);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(form.caption()).c_str(),
                              kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, context_->instance, this);
    if (!window_) throw std::runtime_error("The window could not be created.");
    context_->setDpi(dpiOf(window_));
    context_->createTooltip(window_);
    {
        ViewContext::Updating guard(*context_);
        if (!form.enabled()) EnableWindow(window_, FALSE);
        for (const auto& child : form.children()) createNatives(*child);
    }
    placeWindow();
    {
        ViewContext::Updating guard(*context_);
        relayout(form);  // what fills its parent follows the final client size
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

void Win32View::controlChanged(ui::Control& control) { mirror(control); }

void Win32View::controlAdded(ui::Control& control) {
    if (context_->native(control)) return;
    ViewContext::Updating guard(*context_);
    createNatives(control);
}

void Win32View::controlRemoved(ui::Control& control) {
    ViewContext::Updating guard(*context_);
    removeNatives(control);
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
    const ui::Control* focused = form.focused();
    if (focused != focusShown_) {
        focusShown_ = focused;
        const HWND target = focused ? hwnd(*focused) : nullptr;
        if (target && GetFocus() != target) SetFocus(target);
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
    if (savedFocus_ && !IsWindow(savedFocus_)) savedFocus_ = nullptr;
}

void Win32View::relayout(ui::Control& control) {
    forEach(control, [this](ui::Control& each) {
        if (NativeControl* native = context_->native(each)) native->layout();
    });
}

// The client area has the form's size at 96 DPI, scaled, and the window is centred on its
// monitor's work area.
void Win32View::placeWindow() {
    const ui::Rect& bounds = context_->form.bounds;
    RECT frame{0, 0, context_->scale(bounds.width > 0 ? bounds.width : kDefaultWidth),
               context_->scale(bounds.height > 0 ? bounds.height : kDefaultHeight)};
    adjustFrame(frame, GetMenu(window_) != nullptr, context_->dpi());
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - width) / 2);
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - height) / 2);
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Win32View::firstTabStop() const { return GetNextDlgTabItem(window_, nullptr, FALSE); }

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

LRESULT CALLBACK Win32View::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR /*id*/, DWORD_PTR view) {
    if (const auto result = reinterpret_cast<Win32View*>(view)->handleControlMessage(
            hwnd, message, wParam, lParam)) {
        return *result;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
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
            if (main) {
                onNextControl(wParam, lParam);
                return 0;
            }
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

// Messages to native controls. A group box is the parent of the controls inside it, so their
// notifications arrive here and go to the one dispatcher like any container's.
std::optional<LRESULT> Win32View::handleControlMessage(HWND hwnd, UINT message, WPARAM wParam,
                                                       LPARAM lParam) {
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
                if (NativeControl* native = context_->nativeAt(hwnd)) {
                    focusShown_ = &native->model();
                    native->model().setFocus();
                }
            }
            break;
        default:
            break;
    }
    NativeControl* native = context_->nativeAt(hwnd);
    return native ? native->message(hwnd, message, wParam, lParam) : std::nullopt;
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
// control that had it, or to the first one.
void Win32View::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) savedFocus_ = focus;
        return;
    }
    if (HIWORD(wParam)) return;  // minimised
    HWND target = savedFocus_ && IsWindow(savedFocus_) ? savedFocus_ : nullptr;
    if (!target && context_->form.focused()) target = hwnd(*context_->form.focused());
    if (!target) target = firstTabStop();
    if (target && IsWindowVisible(target) && IsWindowEnabled(target)) SetFocus(target);
}

// Tab and Shift+Tab, as the dialog manager asks for them; an edit box entered this way has its
// text selected.
void Win32View::onNextControl(WPARAM wParam, LPARAM lParam) {
    const HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(window_, GetFocus(), wParam != 0);
    if (!target) return;
    SetFocus(target);
    if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageW(target, EM_SETSEL, 0, -1);
    }
}

void Win32View::onDpiChanged(UINT dpi, const RECT& suggested) {
    ViewContext::Updating guard(*context_);
    context_->setDpi(dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    relayout(context_->form);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32View::onDestroy() {
    context_->close();
    savedFocus_ = nullptr;
}

int runMessageLoop(HWND window) {
    MSG message{};
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got < 0) return -1;
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

}  // namespace morvane::win32
