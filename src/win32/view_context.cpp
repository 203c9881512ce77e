#include "win32/view_context.h"

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
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    return info;
}

}  // namespace

ViewContext::ViewContext(ui::Control& form, ui::Platform& platform)
    : form(form), platform(platform), instance(GetModuleHandleW(nullptr)) {}

ViewContext::~ViewContext() {
    natives_.clear();
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

NativeControl* ViewContext::native(const ui::Control& control) const {
    const auto found = natives_.find(&control);
    return found == natives_.end() ? nullptr : found->second.get();
}

NativeControl* ViewContext::nativeAt(HWND hwnd) const {
    const auto found = handles_.find(hwnd);
    return found == handles_.end() ? nullptr : found->second;
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

void ViewContext::attach(HWND hwnd, NativeControl& native) {
    handles_[hwnd] = &native;
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    // Containers are of the view's own class; everything else reports through a subclass.
    if (lstrcmpW(className, kContainerClass) != 0) {
        SetWindowSubclass(hwnd, subclassProc, 1, reinterpret_cast<DWORD_PTR>(dispatcher));
    }
}

void ViewContext::detach(HWND hwnd) {
    handles_.erase(hwnd);
    if (IsWindow(hwnd)) RemoveWindowSubclass(hwnd, subclassProc, 1);
}

HWND ViewContext::createContainer(HWND parent, DWORD style, DWORD exStyle, UINT id) {
    return CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, kContainerClass, L"",
                           WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance,
                           dispatcher);
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
    ui::dispatch(platform, action);
    if (!holds(model, &source)) return;
    Updating guard(*this);
    source.update();
}

void ViewContext::commitAction(NativeControl& field, const std::function<void()>& action) {
    const ui::Control* model = &field.model();
    forgetPending(field);
    ui::dispatch(platform, action);
    if (!holds(model, &field)) return;
    Updating guard(*this);
    field.update();
}

}  // namespace morvane::win32
