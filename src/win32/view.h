#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "toolkit/control.h"
#include "toolkit/platform.h"

namespace morvane::win32 {

class ViewContext;
class NativeControl;

// The native window of a control tree: one Win32 control per model control, kept equal to the
// model through the observer, and every user action on a native control handed to the model
// through ui::dispatch.
class Win32View : public ui::ViewObserver {
  public:
    // Creates the native window and every control, not yet shown, and observes `form` until
    // destroyed. `form` is the root (a ui::Window) and must outlive the view.
    Win32View(ui::Control& form, ui::Platform& platform);
    ~Win32View() override;
    Win32View(const Win32View&) = delete;
    Win32View& operator=(const Win32View&) = delete;

    // ShowWindow + UpdateWindow.
    void show(int showCommand);
    // The top-level window.
    HWND window() const;
    // Native handle of a model control: a spin box's edit box, the child window holding a tab
    // page's controls, a page control's container. nullptr for menus and unknown controls.
    HWND hwnd(const ui::Control& control) const;
    // The up-down control of a spin box; nullptr for anything else.
    HWND spinButton(const ui::Control& spinBox) const;
    // The WM_COMMAND id of a menu item (0 for anything else).
    UINT menuCommand(const ui::Control& menuItem) const;
    // The model control of a native handle (a spin box for its edit and its up-down), or nullptr.
    ui::Control* controlOf(HWND hwnd) const;
    // The hint the tooltip shows for the control ("" if none).
    std::wstring tooltipText(const ui::Control& control) const;

    void controlChanged(ui::Control& control) override;
    void controlAdded(ui::Control& control) override;
    void controlRemoved(ui::Control& control) override;

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR view);

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> handleControlMessage(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam);

    LRESULT onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT onNotify(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT onDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT onControlColor(HDC dc);
    void onActivate(WPARAM wParam);
    void onNextControl(WPARAM wParam, LPARAM lParam);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onDestroy();

    void createNatives(ui::Control& control);
    void removeNatives(ui::Control& control);
    void mirror(ui::Control& control);
    void relayout(ui::Control& control);
    void placeWindow();
    HWND firstTabStop() const;

    std::unique_ptr<ViewContext> context_;
    HWND window_ = nullptr;
    HWND savedFocus_ = nullptr;                // the focus while the window is inactive
    const ui::Control* focusShown_ = nullptr;  // the model's focus as last shown
};

// Saves the window (frame, menu and client area) as a 24-bit BMP. False when it cannot.
bool saveWindowImage(HWND window, const std::wstring& bmpPath);

// Runs the message loop (with IsDialogMessage for Tab navigation) until the window is closed.
// Returns the WM_QUIT code if one arrived, else 0.
int runMessageLoop(HWND window);

}  // namespace morvane::win32
