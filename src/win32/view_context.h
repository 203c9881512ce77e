#pragma once

#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>

#include "toolkit/control.h"
#include "toolkit/platform.h"

namespace morvane::win32 {

class NativeControl;

// The window class of the main window and of every container (panels, pages, page controls).
inline constexpr wchar_t kWindowClass[] = L"MorvaneWindow";
inline constexpr wchar_t kContainerClass[] = L"MorvaneContainer";

// What the native controls share: the DPI and fonts, the registry that maps model controls and
// window handles to native controls, the tooltip, the guard that keeps the view's own updates
// from coming back as user actions, and the way into the model for user actions.
class ViewContext {
  public:
    ViewContext(ui::Control& form, ui::Platform& platform);
    ~ViewContext();
    ViewContext(const ViewContext&) = delete;
    ViewContext& operator=(const ViewContext&) = delete;

    ui::Control& form;
    ui::Platform& platform;
    HINSTANCE instance;

    // Set by the view: the window procedure's creation parameter; what the view does with a
    // message to a native control before its class's own procedure (a result takes it); and
    // what it does once a user action is over, to show the model's changes.
    void* dispatcher = nullptr;
    std::function<std::optional<LRESULT>(NativeControl&, HWND, UINT, WPARAM, LPARAM)>
        controlMessage;
    std::function<void()> actionsDone;

    UINT dpi() const { return dpi_; }
    void setDpi(UINT dpi);
    // A length at 96 DPI scaled to the current DPI.
    int scale(int length) const { return MulDiv(length, static_cast<int>(dpi_), 96); }
    RECT scale(const ui::Rect& rect) const;
    // The font for the current DPI: the system's message font unless the control names one.
    HFONT font(const ui::Font& font);
    // The width of a one-line text in that font, measured once per text, font and DPI.
    int textWidth(const ui::Font& font, const std::wstring& text);

    // The registry.
    NativeControl* native(const ui::Control& control) const;
    NativeControl* nativeAt(HWND hwnd) const;
    NativeControl& add(std::unique_ptr<NativeControl> native);
    void remove(const ui::Control& control);
    // Maps a handle to its native control.
    void attach(HWND hwnd, NativeControl& native);
    void detach(HWND hwnd);
    UINT newId() { return nextId_++; }

    HWND createContainer(HWND parent, DWORD style, DWORD exStyle, UINT id, const RECT& rect);
    // A window of a system control class. Edit boxes, buttons, drop-down lists and tab strips
    // are made from the program's own classes built on the system's (superclassing), whose
    // messages pass the view first; other classes are the system's.
    HWND createControl(HWND parent, const wchar_t* systemClass, DWORD style, DWORD exStyle,
                       const std::wstring& text, const RECT& rect, UINT id);

    void createTooltip(HWND owner);
    HWND tooltip() const { return tooltip_; }
    // Shows `hint` when the pointer rests on `tool`; an empty hint removes the tip. The pointer's
    // messages reach the tooltip through the message loop (Win32View::translate).
    void setTip(HWND tool, const std::string& hint);
    void dropTip(HWND tool);
    std::wstring tipText(HWND tool) const;
    // The text the tooltip shows for a pointer at `point` in `window`'s client area; "" if none.
    std::wstring tipTextAt(HWND window, POINT point) const;

    // True while the view itself changes native controls: notifications then are echoes. From
    // the close on, nothing reaches the model any more.
    bool updating() const { return updating_ || closed_; }
    void close() { closed_ = true; }
    class Updating {
      public:
        explicit Updating(ViewContext& context) : context_(context), was_(context.updating_) {
            context_.updating_ = true;
        }
        ~Updating() { context_.updating_ = was_; }
        Updating(const Updating&) = delete;
        Updating& operator=(const Updating&) = delete;

      private:
        ViewContext& context_;
        bool was_;
    };

    // While a user action runs, the model's changes are collected and shown once it is over
    // (actionsDone), so that a list refilled entry by entry reaches its native control as one
    // update.
    bool inAction() const { return actionDepth_ > 0; }
    class Action {
      public:
        explicit Action(ViewContext& context) : context_(context) { ++context_.actionDepth_; }
        ~Action() {
            if (--context_.actionDepth_ == 0 && context_.actionsDone) context_.actionsDone();
        }
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

      private:
        ViewContext& context_;
    };

    // A text field whose native text the user changed and the model has not seen yet.
    void markPending(NativeControl& field) { pending_ = &field; }
    void forgetPending(const NativeControl& field) {
        if (pending_ == &field) pending_ = nullptr;
    }
    // Hands the pending text to the model, so a click or menu choice sees what was typed.
    void commitPending();
    // A user action on `source`: pending text first, then the action through ui::dispatch, then
    // `source` shows the model's state again (also when the model refused the action).
    void userAction(NativeControl& source, const std::function<void()>& action);
    // A text field's commit through ui::dispatch.
    void commitAction(NativeControl& field, const std::function<void()>& action);

  private:
    // Whether `native` still stands for `model`: a handler may have removed either.
    bool holds(const ui::Control* model, const NativeControl* native) const;

    UINT dpi_ = 96;
    UINT nextId_ = 100;
    HWND tooltip_ = nullptr;
    bool updating_ = false;
    bool closed_ = false;
    int actionDepth_ = 0;
    NativeControl* pending_ = nullptr;
    std::unordered_map<const ui::Control*, std::unique_ptr<NativeControl>> natives_;
    std::map<std::tuple<std::string, int, UINT>, HFONT> fonts_;
    HDC measuring_ = nullptr;
    std::map<std::tuple<HFONT, std::wstring>, int> widths_;
};

}  // namespace morvane::win32
