#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tools/uiscript/backend.h"
#include "win32/view.h"
#include "win32/win32_files.h"

namespace morvane::uiscript {

// Plays a scenario on the real window: actions arrive as Windows delivers a user's (BM_CLICK,
// CB_SETCURSEL with CBN_SELCHANGE, text then focus moved away, the menu's WM_COMMAND, a tab's
// button down and up), keys as a keyboard's (key down, character and key up posted to the
// focused window and handled by the program's own message loop), and the native controls are
// read back for checks. Pending messages are pumped after every action so the window settles.
class Win32Backend : public Backend, private NativeWindow {
  public:
    // `folder` is the scenario's folder; the program sees its full Windows path.
    Win32Backend(const std::filesystem::path& folder, Starter starter);
    ~Win32Backend() override;

    std::string folder() const override { return folder_; }
    FilePlatform& files() override { return files_; }
    bool writeFile(const std::string& path, std::string_view bytes) override;

    ui::Control& start(ui::Platform& platform) override;
    void stop() override;

    void click(ui::Control& control) override;
    void chooseMenu(ui::MenuItem& item) override;
    void typeText(ui::Control& field, const std::string& text) override;
    void typeKeys(ui::Control& field, const std::string& text) override;
    void press(Key key) override;
    void select(ui::ComboBox& box, int index) override;
    bool selectTab(ui::TabControl& tabs, int index) override;
    void screenshot(const std::filesystem::path& bmp) override;

    const NativeWindow* window() const override { return view_ ? this : nullptr; }

  private:
    // NativeWindow
    std::string text(ui::Control& control) const override;
    std::vector<std::string> items(ui::ComboBox& box) const override;
    int selected(ui::ComboBox& box) const override;
    bool checked(ui::Control& control) const override;
    bool enabled(ui::Control& control) const override;
    bool tabEnabled(ui::TabControl& tabs, int index) const override;
    int tabIndex(ui::TabControl& tabs) const override;
    std::vector<std::string> tabs(ui::TabControl& tabs) const override;
    std::string hint(ui::Control& control) const override;
    ui::Control* focus() const override;
    std::vector<std::string> menu() const override;
    std::optional<std::string> unreachable(ui::Control& control) const override;

    // The native window of a control; fails the scenario when the view has none.
    HWND handle(const ui::Control& control) const;
    bool isTabStrip(HWND hwnd) const;
    void pump() const;
    // The user leaves the focused field: the focus moves away, which commits the typed text,
    // and then rests where the model has it.
    void leave();
    // A key pressed and released on the focused window, with Shift held or not.
    void key(WORD virtualKey, bool shift = false);
    // A character typed as an input method delivers it (no key of its own).
    void character(wchar_t typed);

    Win32Files files_;
    std::string folder_;
    std::vector<std::wstring> writtenFiles_;    // outside the scenario's folder
    std::vector<std::wstring> createdFolders_;  // in the order of creation
    Starter starter_;
    std::unique_ptr<ui::Control> form_;
    std::unique_ptr<win32::Win32View> view_;
};

}  // namespace morvane::uiscript
