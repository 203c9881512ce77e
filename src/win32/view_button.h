#pragma once

#include "win32/native_control.h"

namespace morvane::win32 {

// A push button: BN_CLICKED runs Button::userClick.
class ButtonView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;
    void command(WORD code) override;
};

// A check box or radio button. The native check never changes by itself (no auto styles): a
// click goes to the model, and the check mark follows the model.
class CheckView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;
    void command(WORD code) override;

  private:
    bool checked() const;
    void updateRadioTabStops();
};

}  // namespace morvane::win32
