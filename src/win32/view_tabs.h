#pragma once

#include <string>
#include <vector>

#include "win32/native_control.h"

namespace morvane::win32 {

// A page control: a container that shows its selected page only, without tabs.
class PageControlView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;

  protected:
    RECT placement() const override;
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
    void drawItem(const DRAWITEMSTRUCT& item) override;
    // Where the pages go, in the parent's client area.
    RECT displayArea() const;

  private:
    int targetTab() const;

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
    void paintBody();

    HBRUSH body_ = nullptr;
};

}  // namespace morvane::win32
