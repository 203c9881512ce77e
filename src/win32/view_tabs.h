#pragma once

#include <string>
#include <vector>

#include "win32/native_control.h"

namespace morvane::win32 {

// A page control: a container that shows its selected page only, without tabs. It lies in its
// parent's client area; where that is smaller than the page control (a window shrunk to fit its
// screen), the pages keep their size and the container scrolls them, bringing a control that
// takes the focus into view.
class PageControlView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;
    void layout() override;
    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Where the pages lie in the container's client area: their full size, moved by the
    // scroll position.
    RECT pageArea() const;
    // Scrolls so that the window (a control on a page) is inside the visible area, as far as
    // it fits.
    void reveal(HWND hwnd);

  protected:
    RECT placement() const override;

  private:
    // The pages' size and the scroll bars for the container's size; keeps the position within
    // the range.
    void updateScrollBars();
    void scrollTo(int x, int y);
    void onScroll(int bar, WORD request);

    SIZE content_{0, 0};
    POINT position_{0, 0};
};

// A tab control: the native tab strip. Its pages are windows of their own lying over the strip's
// display area (siblings of the strip, so Tab reaches the strip as well as the page). A
// disabled tab shows grey text and cannot be chosen.
class TabControlView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    HWND childParent() const override { return GetParent(handle_); }
    void create(HWND parent) override;
    void update() override;
    std::optional<LRESULT> notify(const NMHDR& header) override;
    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT afterMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT result) override;
    void drawItem(const DRAWITEMSTRUCT& item) override;
    // Where the pages go, in the parent's client area.
    RECT displayArea() const;

  private:
    int targetTab() const;

    int clickedTab_ = -1;  // the tab under a button press while the strip handles it
    std::vector<std::wstring> items_;  // the strip's texts, as this view put them there
};

// One page of a page control or tab control: the window holding the page's controls. On a
// themed tab control the page and the controls on it have the strip's body as background.
class TabPageView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    ~TabPageView() override;
    void create(HWND parent) override;
    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    RECT placement() const override;
    bool shown() const override;
    bool active() const override;

  private:
    // The body as a brush, made when first painted.
    HBRUSH body();
    void dropBody();

    HBRUSH body_ = nullptr;
    bool bodyMade_ = false;
};

}  // namespace morvane::win32
