#pragma once

#include <map>

#include "win32/native_control.h"

namespace morvane::win32 {

// The menu bar of the main window: one plain item per visible menu item, in order.
class MenuBar : public NativeControl {
  public:
    using NativeControl::NativeControl;
    ~MenuBar() override;
    void create(HWND parent) override;
    void update() override;
    void layout() override {}
    // The WM_COMMAND id of an item; 0 for anything else.
    UINT commandOf(const ui::Control& item) const;
    // A menu choice: runs MenuItem::userClick. False when the id is not one of the items.
    bool choose(UINT command);

  private:
    HWND owner_ = nullptr;
    HMENU menu_ = nullptr;
    std::map<const ui::Control*, UINT> commands_;
};

}  // namespace morvane::win32
