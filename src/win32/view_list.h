#pragma once

#include "win32/native_control.h"

namespace morvane::win32 {

// A drop-down list: shows the model's entries and selection; CBN_SELCHANGE runs
// ComboBox::userSelect.
class ComboBoxView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;
    void layout() override;
    void command(WORD code) override;

  protected:
    RECT placement() const override;
};

}  // namespace morvane::win32
