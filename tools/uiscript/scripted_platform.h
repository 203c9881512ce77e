#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/platform.h"

namespace morvane::uiscript {

// One dialog the program opened, in the scenario's own words.
struct Dialog {
    enum class Type { Message, Question, Failure, FilePicker, FolderPicker };
    Type type = Type::Message;
    ui::MessageKind kind = ui::MessageKind::Error;  // messages
    std::string text;                               // message, question, failure; picker title
    std::string start;                              // folder picker

    // As a check would name it: message error "TEXT", picker file "TITLE", ...
    std::string describe() const;
};

// The Platform a scenario plays against: dialogs answered from queues and recorded, files
// through another FilePlatform except writes onto read-only paths, and the locale the scenario
// chose. Nothing here throws into the program: a dialog it cannot answer is answered No or
// cancelled and noted as a problem for the runner.
class ScriptedPlatform : public ui::PlatformOnFiles {
  public:
    // `executable` is the Windows path the program believes it runs from.
    ScriptedPlatform(FilePlatform& files, std::string executable);

    void queueAnswer(bool yes) { answers_.push_back(yes); }
    void queuePick(std::optional<std::string> path) { picks_.push_back(std::move(path)); }
    void addReadOnly(std::string path) { readOnly_.push_back(std::move(path)); }
    void setSeparators(std::string decimal, std::string thousands);

    // The oldest dialog no check has consumed yet, or nullptr.
    const Dialog* nextDialog() const;
    void consumeDialog() { ++consumed_; }
    std::vector<Dialog> unconsumedDialogs() const;

    // What went wrong since the last call (unanswered questions, unpicked pickers), cleared.
    std::vector<std::string> takeProblems();

    const std::optional<std::string>& lastShellOpen() const { return shellOpened_; }

    // ui::Platform
    void showMessage(ui::MessageKind kind, const std::string& text) override;
    int askYesNo(const std::string& text) override;
    void showFailure(const std::string& text) override;
    std::optional<std::string> pickFile(const std::string& title) override;
    std::optional<std::string> pickFolder(const std::string& caption,
                                          const std::string& start) override;
    void shellOpen(const std::string& path) override { shellOpened_ = path; }
    std::string decimalSeparator() const override { return decimal_; }
    std::string thousandsSeparator() const override { return thousands_; }

    // FilePlatform: writes onto read-only paths are refused.
    std::string executablePath() const override { return executable_; }
    bool writeFile(const std::string& path, std::string_view bytes) override;
    ReplaceResult replaceFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;

  private:
    bool isReadOnly(const std::string& path) const;
    std::optional<std::string> pick(const Dialog& dialog);

    std::string executable_;
    std::string decimal_ = ".";
    std::string thousands_ = ",";
    std::deque<bool> answers_;
    std::deque<std::optional<std::string>> picks_;
    std::vector<std::string> readOnly_;
    std::vector<Dialog> record_;
    size_t consumed_ = 0;
    std::vector<std::string> problems_;
    std::optional<std::string> shellOpened_;
};

// True when two Windows paths name the same file: letter case and "/" against "\" aside.
bool samePath(std::string_view a, std::string_view b);

}  // namespace morvane::uiscript
