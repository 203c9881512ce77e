#pragma once

#include <string>
#include <vector>

#include "win32/native_control.h"

namespace morvane::win32 {

// A drop-down list: shows the model's entries and selection; CBN_SELCHANGE runs
// ComboBox::userSelect. The view keeps the entries it gave the native list, so showing the
// model's again needs no reading back: appended entries are added, anything else refills the
// list in one go with redrawing off.
class ComboBoxView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void create(HWND parent) override;
    void update() override;
    void layout() override;
    void command(WORD code) override;

  protected:
    RECT placement() const override;

  private:
    std::vector<std::string> shown_;
};

}  // namespace morvane::win32
