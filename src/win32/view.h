#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/platform.h"

namespace morvane::win32 {

class ViewContext;
class NativeControl;

// The native window of a control tree: one Win32 control per model control, kept equal to the
// model through the observer, and every user action on a native control handed to the model
// through ui::dispatch. The keyboard follows the model's rules (ui keyboard.h): Tab order,
// arrows in radio groups, drop-down lists and tab strips, the focus on the page shown.
//
// The client area has the form's size (scaled to the DPI) and the window is centred on the work
// area of its monitor. Where that does not fit, the window takes the work area and the page
// control scrolls its pages, bringing the focused control into view.
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
    // The hint the tooltip shows when the pointer rests at `screen` (screen coordinates): the
    // window under the pointer is found by hit testing, as for a real pointer. "" if none.
    std::wstring hintAt(POINT screen) const;

    // The window's own part of a message before the dialog manager: the tooltip sees the
    // pointer, and Tab, Shift+Tab and the arrows follow the model's keyboard rules. True when
    // the message is taken.
    bool translate(const MSG& message);

    void controlChanged(ui::Control& control) override;
    void controlAdded(ui::Control& control) override;
    void controlRemoved(ui::Control& control) override;

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> handleControlMessage(NativeControl& native, HWND hwnd, UINT message,
                                                WPARAM wParam, LPARAM lParam);

    LRESULT onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT onNotify(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT onDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT onControlColor(HDC dc);
    void onActivate(WPARAM wParam);
    void onNextControl(WPARAM wParam, LPARAM lParam);
    // Tab (`forward`) or Shift+Tab: the model moves the focus; the field reached has its text
    // selected.
    void tab(bool forward);
    bool arrowKey(WPARAM key);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onDestroy();

    void createNatives(ui::Control& control);
    void removeNatives(ui::Control& control);
    void mirror(ui::Control& control);
    // Shows the changes collected during a user action.
    void flush();
    void showFocus();
    // Scrolls the page area so that a control taking the focus is in view.
    void reveal(NativeControl& native, HWND hwnd);
    void relayout(ui::Control& control);
    bool hasMenuBar() const;
    // The window's size and place on its monitor: the designed client area, centred, as far as
    // the work area around `around` holds it.
    void placeWindow(const RECT& around);

    std::unique_ptr<ViewContext> context_;
    HWND window_ = nullptr;
    const ui::Control* focusShown_ = nullptr;  // the model's focus as last shown
    std::vector<ui::Control*> changed_;        // during a user action, in order of change
    std::unordered_set<const ui::Control*> changedSet_;
};

// Saves the window (frame, menu and client area) as a 24-bit BMP. False when it cannot.
bool saveWindowImage(HWND window, const std::wstring& bmpPath);

// One message as the program's message loop handles it: the window's own keys
// (Win32View::translate), the dialog manager (IsDialogMessage), then translation and dispatch.
void processMessage(Win32View& view, MSG& message);

// Runs the message loop (processMessage for every message) until the window is closed.
// Returns the WM_QUIT code if one arrived, else 0.
int runMessageLoop(Win32View& view);

}  // namespace morvane::win32
