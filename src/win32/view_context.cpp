#include "win32/view_context.h"

#include <iterator>
#include <utility>

#include "toolkit/dispatch.h"
#include "win32/native_control.h"
#include "win32/win32_files.h"

namespace morvane::win32 {

namespace {

// SystemParametersInfoForDpi exists from Windows 10 1607 on; before, the system metrics are at
// the system DPI and get scaled.
LOGFONTW messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return metrics.lfMessageFont;
    }
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    return metrics.lfMessageFont;
}

TTTOOLINFOW toolInfo(HWND tool, wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    return info;
}

// Every native control of every view, by window handle: the program's own classes find the
// control of a message here.
std::unordered_map<HWND, NativeControl*>& nativeWindows() {
    static std::unordered_map<HWND, NativeControl*> windows;
    return windows;
}

// A system class behind one of the program's own: its messages pass the view (before the
// system's procedure, and the control's afterMessage after it). No per-window subclass is
// needed, so a message costs no property lookup.
struct Superclass {
    const wchar_t* system;
    const wchar_t* own;
    WNDPROC base;
};
Superclass superclasses[] = {
    {WC_EDITW, L"MorvaneEdit", nullptr},
    {WC_BUTTONW, L"MorvaneButton", nullptr},
    {WC_COMBOBOXW, L"MorvaneComboBox", nullptr},
    {WC_TABCONTROLW, L"MorvaneTabs", nullptr},
};

LRESULT routeMessage(WNDPROC base, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto find = [hwnd]() -> NativeControl* {
        const auto found = nativeWindows().find(hwnd);
        return found == nativeWindows().end() ? nullptr : found->second;
    };
    if (NativeControl* native = find()) {
        const auto& before = native->context().controlMessage;
        if (before) {
            if (const auto result = before(*native, hwnd, message, wParam, lParam)) return *result;
        }
    }
    LRESULT result = CallWindowProcW(base, hwnd, message, wParam, lParam);
    if (NativeControl* native = find()) {
        result = native->afterMessage(hwnd, message, wParam, lParam, result);
    }
    return result;
}

template <size_t Index>
LRESULT CALLBACK superclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return routeMessage(superclasses[Index].base, hwnd, message, wParam, lParam);
}

template <size_t... Index>
void registerSuperclasses(HINSTANCE instance, std::index_sequence<Index...>) {
    const WNDPROC procedures[] = {&superclassProc<Index>...};
    for (size_t i = 0; i < sizeof...(Index); ++i) {
        WNDCLASSEXW info{};
        info.cbSize = sizeof info;
        // The common controls of the manifest's version, as the program would get them.
        if (!GetClassInfoExW(nullptr, superclasses[i].system, &info)) continue;
        superclasses[i].base = info.lpfnWndProc;
        info.lpfnWndProc = procedures[i];
        info.hInstance = instance;
        info.lpszClassName = superclasses[i].own;
        info.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
        RegisterClassExW(&info);
    }
}

const wchar_t* ownClass(HINSTANCE instance, const wchar_t* system) {
    static const bool registered = [instance] {
        registerSuperclasses(instance, std::make_index_sequence<std::size(superclasses)>());
        return true;
    }();
    (void)registered;
    for (const Superclass& superclass : superclasses) {
        if (lstrcmpiW(superclass.system, system) == 0 && superclass.base) return superclass.own;
    }
    return system;
}

}  // namespace

ViewContext::ViewContext(ui::Control& form, ui::Platform& platform)
    : form(form), platform(platform), instance(GetModuleHandleW(nullptr)) {}

ViewContext::~ViewContext() {
    natives_.clear();
    if (measuring_) DeleteDC(measuring_);
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
    for (const auto& [key, font] : fonts_) DeleteObject(font);
}

void ViewContext::setDpi(UINT dpi) {
    dpi_ = dpi;
    // Long hints wrap instead of running across the screen.
    if (tooltip_) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scale(400));
}

RECT ViewContext::scale(const ui::Rect& rect) const {
    return {scale(rect.x), scale(rect.y), scale(rect.x + rect.width), scale(rect.y + rect.height)};
}

HFONT ViewContext::font(const ui::Font& font) {
    const auto key = std::make_tuple(font.name, font.size, dpi_);
    if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
    LOGFONTW logFont = messageFont(dpi_);
    if (!font.name.empty()) {
        const std::wstring face = widen(font.name);
        lstrcpynW(logFont.lfFaceName, face.c_str(), LF_FACESIZE);
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfPitchAndFamily = 0;
    }
    if (font.size > 0) logFont.lfHeight = -MulDiv(font.size, static_cast<int>(dpi_), 72);
    logFont.lfWidth = 0;
    HFONT created = CreateFontIndirectW(&logFont);
    fonts_.emplace(key, created);
    return created;
}

int ViewContext::textWidth(const ui::Font& textFont, const std::wstring& text) {
    HFONT used = font(textFont);
    const auto key = std::make_tuple(used, text);
    if (const auto found = widths_.find(key); found != widths_.end()) return found->second;
    // A memory DC of its own: the screen's would be fetched and released for every label.
    if (!measuring_) measuring_ = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(measuring_, used);
    RECT extent{0, 0, 0, 0};
    DrawTextW(measuring_, text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE);
    SelectObject(measuring_, previous);
    widths_.emplace(key, extent.right);
    return extent.right;
}

NativeControl* ViewContext::native(const ui::Control& control) const {
    const auto found = natives_.find(&control);
    return found == natives_.end() ? nullptr : found->second.get();
}

NativeControl* ViewContext::nativeAt(HWND hwnd) const {
    const auto found = nativeWindows().find(hwnd);
    if (found == nativeWindows().end() || &found->second->context() != this) return nullptr;
    return found->second;
}

bool ViewContext::holds(const ui::Control* model, const NativeControl* native) const {
    const auto found = natives_.find(model);
    return found != natives_.end() && found->second.get() == native;
}

NativeControl& ViewContext::add(std::unique_ptr<NativeControl> native) {
    NativeControl& added = *native;
    natives_[&added.model()] = std::move(native);
    return added;
}

void ViewContext::remove(const ui::Control& control) {
    const auto found = natives_.find(&control);
    if (found == natives_.end()) return;
    forgetPending(*found->second);
    natives_.erase(found);
}

void ViewContext::attach(HWND hwnd, NativeControl& native) { nativeWindows()[hwnd] = &native; }

void ViewContext::detach(HWND hwnd) {
    const auto found = nativeWindows().find(hwnd);
    if (found != nativeWindows().end() && &found->second->context() == this) {
        nativeWindows().erase(found);
    }
}

HWND ViewContext::createContainer(HWND parent, DWORD style, DWORD exStyle, UINT id,
                                  const RECT& rect) {
    return CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, kContainerClass, L"",
                           WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | style, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance,
                           dispatcher);
}

HWND ViewContext::createControl(HWND parent, const wchar_t* systemClass, DWORD style, DWORD exStyle,
                                const std::wstring& text, const RECT& rect, UINT id) {
    return CreateWindowExW(exStyle, ownClass(instance, systemClass), text.c_str(), style, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
}

void ViewContext::createTooltip(HWND owner) {
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    setDpi(dpi_);
}

void ViewContext::setTip(HWND tool, const std::string& hint) {
    if (!tooltip_ || !tool) return;
    if (hint.empty()) {
        dropTip(tool);
        return;
    }
    std::wstring text = widen(hint);
    if (tipText(tool) == text) return;
    TTTOOLINFOW info = toolInfo(tool, text.data());
    wchar_t probe[INFOTIPSIZE] = {};
    TTTOOLINFOW existing = toolInfo(tool, probe);
    const bool known =
        SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing)) != 0;
    SendMessageW(tooltip_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&info));
}

void ViewContext::dropTip(HWND tool) {
    if (!tooltip_ || !tool) return;
    TTTOOLINFOW info = toolInfo(tool, nullptr);
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

std::wstring ViewContext::tipText(HWND tool) const {
    if (!tooltip_ || !tool) return {};
    wchar_t text[INFOTIPSIZE] = {};
    TTTOOLINFOW info = toolInfo(tool, text);
    SendMessageW(tooltip_, TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(&info));
    return text;
}

std::wstring ViewContext::tipTextAt(HWND window, POINT point) const {
    if (!tooltip_) return {};
    wchar_t text[INFOTIPSIZE] = {};
    TTHITTESTINFOW hit{};
    hit.hwnd = window;
    hit.pt = point;
    hit.ti.cbSize = sizeof hit.ti;
    hit.ti.lpszText = text;
    if (!SendMessageW(tooltip_, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))) return {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = hit.ti.hwnd;
    info.uId = hit.ti.uId;
    info.lpszText = text;
    text[0] = L'\0';
    SendMessageW(tooltip_, TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(&info));
    return text;
}

void ViewContext::commitPending() {
    if (NativeControl* field = pending_) {
        pending_ = nullptr;
        field->commit();
    }
}

void ViewContext::userAction(NativeControl& source, const std::function<void()>& action) {
    const ui::Control* model = &source.model();
    commitPending();
    if (!holds(model, &source)) return;
    {
        Action running(*this);
        ui::dispatch(platform, action);
    }
    if (!holds(model, &source)) return;
    Updating guard(*this);
    source.update();
}

void ViewContext::commitAction(NativeControl& field, const std::function<void()>& action) {
    const ui::Control* model = &field.model();
    forgetPending(field);
    {
        Action running(*this);
        ui::dispatch(platform, action);
    }
    if (!holds(model, &field)) return;
    Updating guard(*this);
    field.update();
}

}  // namespace morvane::win32
