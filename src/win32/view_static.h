#pragma once

#include "win32/native_control.h"

namespace morvane::win32 {

// A label: a static text, vertically centred unless it wraps.
class LabelView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;

  protected:
    RECT placement() const override;
};

// A panel: a plain container.
class PanelView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
};

// A group box: the framed caption, and the parent of the controls inside it.
class GroupBoxView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;
    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace morvane::win32
