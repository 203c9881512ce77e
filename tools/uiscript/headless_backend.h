#pragma once

#include <filesystem>
#include <memory>

#include "tools/uiscript/backend.h"
#include "tools/uiscript/headless_keyboard.h"
#include "tools/uiscript/scenario_files.h"

namespace morvane::uiscript {

// Plays a scenario on the toolkit model alone: every action is the model's own user-action
// entry point, run through the event dispatch as the view would run it, and keys go through a
// keyboard that does what the window's native controls do.
class HeadlessBackend : public Backend {
  public:
    // `folderHost` stands for the executable's folder "C:\Morvane"; other drives live below
    // `drives`.
    HeadlessBackend(const std::filesystem::path& folderHost, const std::filesystem::path& drives,
                    Starter starter);
    ~HeadlessBackend() override;

    std::string folder() const override;
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
    void screenshot(const std::filesystem::path&) override {}

    const NativeWindow* window() const override { return nullptr; }

  private:
    // A user action: what was typed into the focused field reaches the model first.
    void act(const std::function<void()>& action);

    ScenarioFiles files_;
    Starter starter_;
    ui::Platform* platform_ = nullptr;
    std::unique_ptr<ui::Control> form_;
    std::unique_ptr<HeadlessKeyboard> keyboard_;
};

}  // namespace morvane::uiscript
