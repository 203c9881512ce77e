#include "win32/native_control.h"

#include <stdexcept>

#include "toolkit/keyboard.h"
#include "win32/view_button.h"
#include "win32/view_context.h"
#include "win32/view_edit.h"
#include "win32/view_list.h"
#include "win32/view_menu.h"
#include "win32/view_static.h"
#include "win32/view_tabs.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

namespace {

bool isContainer(ui::Kind kind) {
    return kind == ui::Kind::PageControl || kind == ui::Kind::TabControl ||
           kind == ui::Kind::Panel || kind == ui::Kind::GroupBox;
}

bool covers(const ui::Rect& outer, const ui::Rect& inner) {
    return outer.x <= inner.x && outer.y <= inner.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

}  // namespace

NativeControl::NativeControl(ui::Control& model, ViewContext& context)
    : context_(context), model_(model) {}

NativeControl::~NativeControl() {
    for (HWND hwnd : handles_) context_.detach(hwnd);
}

void NativeControl::update() {
    for (HWND hwnd : handles_) {
        if (!!IsWindowEnabled(hwnd) != active()) EnableWindow(hwnd, active());
        const bool show = shown();
        if (!!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != show) {
            ShowWindow(hwnd, show ? SW_SHOWNA : SW_HIDE);
        }
        context_.setTip(hwnd, model_.hint());
    }
}

void NativeControl::layout() {
    place(handle_, placement());
    applyFont(handle_);
}

void NativeControl::place(HWND hwnd, const RECT& rect) {
    RECT now{};
    GetWindowRect(hwnd, &now);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &rect)) return;
    SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeControl::applyFont(HWND hwnd) {
    const auto font = reinterpret_cast<WPARAM>(context_.font(model_.font));
    // No redraw of its own: a new control is painted when shown, and a DPI change redraws all.
    if (static_cast<WPARAM>(SendMessageW(hwnd, WM_GETFONT, 0, 0)) != font) {
        SendMessageW(hwnd, WM_SETFONT, font, FALSE);
    }
}

void NativeControl::destroy() {
    for (HWND hwnd : handles_) context_.dropTip(hwnd);
    for (HWND hwnd : handles_) {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
}

RECT NativeControl::placement() const { return context_.scale(model_.bounds); }

DWORD NativeControl::baseStyle() const {
    return WS_CHILD | WS_CLIPSIBLINGS | (shown() ? WS_VISIBLE : 0) | (active() ? 0 : WS_DISABLED) |
           (ui::startsGroup(model_) ? WS_GROUP : 0);
}

HWND NativeControl::createWindow(HWND parent, const wchar_t* className, DWORD style, DWORD exStyle,
                                 const std::wstring& text, const RECT* rect) {
    parent_ = parent;
    const RECT where = rect ? *rect : placement();
    const UINT id = context_.newId();
    HWND hwnd = lstrcmpW(className, kContainerClass) == 0
                    ? context_.createContainer(parent, style, exStyle, id, where)
                    : context_.createControl(parent, className, style, exStyle, text, where, id);
    if (!hwnd) throw std::runtime_error("A control of the window could not be created.");
    if (!handle_) {
        handle_ = hwnd;
        // Later controls lie above earlier ones (the window's footer lies under the page
        // control); Win32's z-order is also the Tab order, so only a container that covers an
        // earlier sibling moves up.
        if (isContainer(model_.kind()) && model_.parent()) {
            for (const auto& sibling : model_.parent()->children()) {
                if (sibling.get() == &model_) break;
                if (covers(model_.bounds, sibling->bounds) || model_.bounds.width == 0) {
                    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                    break;
                }
            }
        }
    }
    handles_.push_back(hwnd);
    context_.attach(hwnd, *this);
    return hwnd;
}

std::wstring NativeControl::caption() const { return widen(model_.caption()); }

void NativeControl::setText(HWND hwnd, const std::wstring& text) {
    if (windowText(hwnd) != text) SetWindowTextW(hwnd, text.c_str());
}

void NativeControl::setStyle(HWND hwnd, DWORD bits, bool on) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    const LONG_PTR wanted = on ? (style | bits) : (style & ~static_cast<LONG_PTR>(bits));
    if (wanted != style) SetWindowLongPtrW(hwnd, GWL_STYLE, wanted);
}

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::unique_ptr<NativeControl> makeNative(ui::Control& control, ViewContext& context) {
    switch (control.kind()) {
        case ui::Kind::Window:
        case ui::Kind::MenuItem:
            return nullptr;
        case ui::Kind::MainMenu:
            return std::make_unique<MenuBar>(control, context);
        case ui::Kind::PageControl:
            return std::make_unique<PageControlView>(control, context);
        case ui::Kind::TabControl:
            return std::make_unique<TabControlView>(control, context);
        case ui::Kind::TabPage:
            return std::make_unique<TabPageView>(control, context);
        case ui::Kind::Panel:
            return std::make_unique<PanelView>(control, context);
        case ui::Kind::GroupBox:
            return std::make_unique<GroupBoxView>(control, context);
        case ui::Kind::Label:
            return std::make_unique<LabelView>(control, context);
        case ui::Kind::Button:
            return std::make_unique<ButtonView>(control, context);
        case ui::Kind::CheckBox:
        case ui::Kind::RadioButton:
            return std::make_unique<CheckView>(control, context);
        case ui::Kind::Edit:
            return std::make_unique<EditView>(control, context);
        case ui::Kind::SpinBox:
            return std::make_unique<SpinBoxView>(control, context);
        case ui::Kind::Memo:
            return std::make_unique<MemoView>(control, context);
        case ui::Kind::ComboBox:
            return std::make_unique<ComboBoxView>(control, context);
    }
    return nullptr;
}

}  // namespace morvane::win32
