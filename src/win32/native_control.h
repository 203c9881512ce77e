#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace morvane::win32 {

class ViewContext;

// The native side of one model control. Each family (labels and containers, buttons, text
// fields, lists, tabs) creates its windows, shows the model's state in them and turns their
// notifications into user actions on the model.
class NativeControl {
  public:
    NativeControl(ui::Control& model, ViewContext& context);
    virtual ~NativeControl();
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    ui::Control& model() const { return model_; }
    ViewContext& context() const { return context_; }
    // The main window of the control; nullptr for menus.
    HWND handle() const { return handle_; }
    // Where the windows of the model's children go.
    virtual HWND childParent() const { return handle_; }
    virtual HWND spinButton() const { return nullptr; }

    // Creates the windows inside `parent`, showing the model's state.
    virtual void create(HWND parent) = 0;
    // Shows the model's state: enabled, visible and hint here, the family's state on top.
    virtual void update();
    // Position and font for the current DPI.
    virtual void layout();

    // WM_COMMAND and WM_NOTIFY from the control, WM_DRAWITEM for it.
    virtual void command(WORD /*code*/) {}
    virtual std::optional<LRESULT> notify(const NMHDR& /*header*/) { return std::nullopt; }
    virtual void drawItem(const DRAWITEMSTRUCT& /*item*/) {}
    // Messages to the control's own windows, before the native window procedure; a result
    // takes the message.
    virtual std::optional<LRESULT> message(HWND /*hwnd*/, UINT /*message*/, WPARAM /*wParam*/,
                                           LPARAM /*lParam*/) {
        return std::nullopt;
    }
    // After the native window procedure of the program's own classes: the result to return.
    virtual LRESULT afterMessage(HWND /*hwnd*/, UINT /*message*/, WPARAM /*wParam*/,
                                 LPARAM /*lParam*/, LRESULT result) {
        return result;
    }
    // Text fields: hands the typed text to the model.
    virtual void commit() {}

    // Removes tips and destroys the windows (their children go with them).
    void destroy();

  protected:
    // The rectangle in the parent's client area; known before the windows exist, so they are
    // created in place.
    virtual RECT placement() const;
    // The window the control's windows lie in.
    HWND parentWindow() const { return handle_ ? GetParent(handle_) : parent_; }
    // Whether the window is shown and enabled; pages follow their tab control.
    virtual bool shown() const { return model_.visible(); }
    virtual bool active() const { return model_.enabled(); }

    // WS_CHILD, visibility, enabled state and the start of a Tab navigation group.
    DWORD baseStyle() const;
    // Creates a window of the control, at `rect` (by default its placement), and maps it to
    // the control; the first one is the control's handle.
    HWND createWindow(HWND parent, const wchar_t* className, DWORD style, DWORD exStyle = 0,
                      const std::wstring& text = {}, const RECT* rect = nullptr);
    // Moves and sizes a window, and sets its font, where they differ (layout runs after every
    // change of the model, so it must be cheap when nothing moved).
    void place(HWND hwnd, const RECT& rect);
    void applyFont(HWND hwnd);
    std::wstring caption() const;
    void setText(HWND hwnd, const std::wstring& text);
    void setStyle(HWND hwnd, DWORD bits, bool on);

    ViewContext& context_;
    ui::Control& model_;
    HWND handle_ = nullptr;
    HWND parent_ = nullptr;
    std::vector<HWND> handles_;
};

// The native control of the model control's kind; nullptr for the window and the menu, which
// the view itself shows.
std::unique_ptr<NativeControl> makeNative(ui::Control& control, ViewContext& context);

// The text of a window.
std::wstring windowText(HWND hwnd);

}  // namespace morvane::win32
