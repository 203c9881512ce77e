#include "tools/uiscript/scripted_platform.h"

#include <utility>

#include "store/text.h"
#include "tools/uiscript/script.h"

namespace morvane::uiscript {

namespace {

std::string slashed(std::string_view path) {
    std::string result(path);
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    return result;
}

const char* kindWord(ui::MessageKind kind) {
    switch (kind) {
        case ui::MessageKind::Error:
            return "error";
        case ui::MessageKind::Information:
            return "information";
        case ui::MessageKind::Warning:
            return "warning";
        case ui::MessageKind::Confirmation:
            return "confirm";
    }
    return "?";
}

}  // namespace

bool samePath(std::string_view a, std::string_view b) {
    return text::equalsNoCase(slashed(a), slashed(b));
}

std::string Dialog::describe() const {
    switch (type) {
        case Type::Message:
            return std::string("message ") + kindWord(kind) + " " + showText(text);
        case Type::Question:
            return "question " + showText(text);
        case Type::Failure:
            return "failure " + showText(text);
        case Type::FilePicker:
            return "picker file " + showText(text);
        case Type::FolderPicker:
            return "picker folder " + showText(text) + " " + showText(start);
    }
    return {};
}

ScriptedPlatform::ScriptedPlatform(FilePlatform& files, std::string executable)
    : PlatformOnFiles(files), executable_(std::move(executable)) {}

void ScriptedPlatform::setSeparators(std::string decimal, std::string thousands) {
    decimal_ = std::move(decimal);
    thousands_ = std::move(thousands);
}

const Dialog* ScriptedPlatform::nextDialog() const {
    return consumed_ < record_.size() ? &record_[consumed_] : nullptr;
}

std::vector<Dialog> ScriptedPlatform::unconsumedDialogs() const {
    return {record_.begin() + static_cast<std::ptrdiff_t>(consumed_), record_.end()};
}

std::vector<std::string> ScriptedPlatform::takeProblems() { return std::exchange(problems_, {}); }

void ScriptedPlatform::showMessage(ui::MessageKind kind, const std::string& text) {
    record_.push_back({Dialog::Type::Message, kind, text, {}});
}

int ScriptedPlatform::askYesNo(const std::string& text) {
    record_.push_back({Dialog::Type::Question, {}, text, {}});
    if (answers_.empty()) {
        problems_.push_back("the program asked " + showText(text) +
                            " with no answer queued (answered No)");
        return ui::kAnswerNo;
    }
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes ? ui::kAnswerYes : ui::kAnswerNo;
}

void ScriptedPlatform::showFailure(const std::string& text) {
    record_.push_back({Dialog::Type::Failure, {}, text, {}});
}

std::optional<std::string> ScriptedPlatform::pick(const Dialog& dialog) {
    record_.push_back(dialog);
    if (picks_.empty()) {
        problems_.push_back("the program opened the " + dialog.describe() +
                            " with no pick queued (cancelled)");
        return std::nullopt;
    }
    std::optional<std::string> result = std::move(picks_.front());
    picks_.pop_front();
    return result;
}

std::optional<std::string> ScriptedPlatform::pickFile(const std::string& title) {
    return pick({Dialog::Type::FilePicker, {}, title, {}});
}

std::optional<std::string> ScriptedPlatform::pickFolder(const std::string& caption,
                                                        const std::string& start) {
    return pick({Dialog::Type::FolderPicker, {}, caption, start});
}

bool ScriptedPlatform::isReadOnly(const std::string& path) const {
    for (const std::string& locked : readOnly_) {
        if (samePath(locked, path)) return true;
    }
    return false;
}

bool ScriptedPlatform::writeFile(const std::string& path, std::string_view bytes) {
    return !isReadOnly(path) && files_.writeFile(path, bytes);
}

FilePlatform::ReplaceResult ScriptedPlatform::replaceFile(const std::string& from,
                                                          const std::string& to) {
    return isReadOnly(to) ? ReplaceResult::Failed : files_.replaceFile(from, to);
}

// A read-only file refuses deletion as well, as the attribute does.
bool ScriptedPlatform::removeFile(const std::string& path) {
    return !isReadOnly(path) && files_.removeFile(path);
}

}  // namespace morvane::uiscript
