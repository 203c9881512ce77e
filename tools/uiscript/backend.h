#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/file_platform.h"
#include "toolkit/combo_box.h"
#include "toolkit/control.h"
#include "toolkit/menu.h"
#include "toolkit/platform.h"
#include "toolkit/tab_control.h"
#include "tools/uiscript/script.h"

namespace morvane::uiscript {

// Ends a scenario as failed: why, and labelled values ("expected", "actual", ...).
struct StepFailure {
    std::string reason;
    std::vector<std::pair<std::string, std::string>> details;
};

[[noreturn]] inline void fail(std::string reason,
                              std::vector<std::pair<std::string, std::string>> details = {}) {
    throw StepFailure{std::move(reason), std::move(details)};
}

// What the native window shows, read back from its controls so checks can hold it against the
// model. Texts as the controls hold them (a caption's "&&" included).
class NativeWindow {
  public:
    virtual ~NativeWindow() = default;
    virtual std::string text(ui::Control& control) const = 0;
    virtual std::vector<std::string> items(ui::ComboBox& box) const = 0;
    virtual int selected(ui::ComboBox& box) const = 0;
    virtual bool checked(ui::Control& control) const = 0;
    virtual bool enabled(ui::Control& control) const = 0;
    virtual bool tabEnabled(ui::TabControl& tabs, int index) const = 0;
    virtual int tabIndex(ui::TabControl& tabs) const = 0;
    virtual std::vector<std::string> tabs(ui::TabControl& tabs) const = 0;
    // What the tooltip shows while the pointer rests inside the control's visible area; fails
    // the scenario when the pointer cannot rest on the control anywhere.
    virtual std::string hint(ui::Control& control) const = 0;
    // The model control whose native window has the keyboard focus, or nullptr.
    virtual ui::Control* focus() const = 0;
    virtual std::vector<std::string> menu() const = 0;
    // Why a user could not reach the control in the window (hidden or disabled), or nothing.
    virtual std::optional<std::string> unreachable(ui::Control& control) const = 0;
};

// Creates the window's model and runs its start-up (the program's startForm1).
using Starter = std::function<std::unique_ptr<ui::Control>(ui::Platform&)>;

// Where a scenario plays: files, the program, and the user's hands. Actions are delivered as
// the user's; the runner has already checked that the user can reach the control. Actions
// throw StepFailure when the backend cannot deliver them.
class Backend {
  public:
    virtual ~Backend() = default;

    // The executable's folder as the program sees it, without a trailing separator.
    virtual std::string folder() const = 0;
    virtual FilePlatform& files() = 0;
    // The scenario's own write: creates the folders leading to the file. A backend that writes
    // outside a folder of its own removes such files when the scenario ends.
    virtual bool writeFile(const std::string& path, std::string_view bytes) = 0;

    // Creates Form1 (and its window) and runs start-up; returns the window's model.
    virtual ui::Control& start(ui::Platform& platform) = 0;
    // Closes the window and destroys Form1 (nothing when not started).
    virtual void stop() = 0;

    virtual void click(ui::Control& control) = 0;
    virtual void chooseMenu(ui::MenuItem& item) = 0;
    // Edit, spin box or memo: the whole text pasted, then the field left.
    virtual void typeText(ui::Control& field, const std::string& text) = 0;
    // Edit, spin box or memo: cleared, then typed key by key (Backspace, Enter and Tab as
    // those keys), then the field that has the focus left.
    virtual void typeKeys(ui::Control& field, const std::string& text) = 0;
    // A key on whatever has the keyboard focus.
    virtual void press(Key key) = 0;
    virtual void select(ui::ComboBox& box, int index) = 0;
    // False when the tab control refused the choice.
    virtual bool selectTab(ui::TabControl& tabs, int index) = 0;
    virtual void screenshot(const std::filesystem::path& bmp) = 0;

    // The native window to check against the model; nullptr when the backend has none.
    virtual const NativeWindow* window() const = 0;
};

}  // namespace morvane::uiscript
