#include "tools/uiscript/interpreter.h"

#include <exception>
#include <optional>

#include "toolkit/check_box.h"
#include "toolkit/edit.h"
#include "toolkit/spin_box.h"
#include "tools/uiscript/file_format.h"
#include "tools/uiscript/scripted_platform.h"
#include "tools/uiscript/text_fields.h"

namespace morvane::uiscript {

namespace {

using ui::Kind;

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Window:
            return "the window";
        case Kind::MainMenu:
            return "the menu bar";
        case Kind::MenuItem:
            return "a menu item";
        case Kind::PageControl:
            return "a page control";
        case Kind::TabControl:
            return "a tab control";
        case Kind::TabPage:
            return "a tab page";
        case Kind::Panel:
            return "a panel";
        case Kind::GroupBox:
            return "a group box";
        case Kind::Label:
            return "a label";
        case Kind::Button:
            return "a button";
        case Kind::Edit:
            return "an edit box";
        case Kind::SpinBox:
            return "a spin box";
        case Kind::ComboBox:
            return "a drop-down list";
        case Kind::CheckBox:
            return "a check box";
        case Kind::RadioButton:
            return "a radio button";
        case Kind::Memo:
            return "a memo";
    }
    return "a control";
}

std::string list(const std::vector<std::string>& texts) {
    if (texts.empty()) return "(none)";
    std::string shown;
    for (const std::string& text : texts) shown += (shown.empty() ? "" : " ") + showText(text);
    return shown;
}

// A number as the checks show it: "007" is "7".
std::string number(const std::string& word) { return std::to_string(std::stoi(word)); }

std::string nameOf(const ui::Control* control) {
    return control ? control->name() : std::string("(nothing)");
}

int indexInParent(const ui::Control& control) {
    const auto& siblings = control.parent()->children();
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == &control) return static_cast<int>(i);
    }
    return -1;
}

// Why the user cannot act on the control as the model stands, or nothing.
std::optional<std::string> unreachable(const ui::Control& control) {
    const std::string& name = control.name();
    for (const ui::Control* at = &control; at->parent(); at = at->parent()) {
        const std::string where =
            at == &control ? name : name + " is inside " + at->name() + ", which";
        if (!at->visible()) return where + " is hidden";
        if (!at->enabled()) return where + " is disabled";
        if (at->kind() != Kind::TabPage) continue;
        const auto& tabs = static_cast<const ui::TabControl&>(*at->parent());
        if (tabs.tabIndex() == indexInParent(*at)) continue;
        const std::string shown = std::to_string(tabs.tabIndex());
        if (tabs.kind() == Kind::PageControl) {
            return name + " is on page " + at->name() + ", which " + tabs.name() +
                   " does not show (it shows page " + shown + ")";
        }
        return name + " is on tab " + at->name() + ", which is not the selected tab of " +
               tabs.name() + " (tab " + shown + " is)";
    }
    return std::nullopt;
}

class Interpreter {
  public:
    Interpreter(Backend& backend, std::filesystem::path screenshots)
        : backend_(backend),
          folder_(backend.folder()),
          platform_(backend.files(), folder_ + "\\morvane.exe"),
          screenshots_(std::move(screenshots)) {}

    Outcome run(const std::vector<Command>& commands) {
        ui::locale() = {};
        Outcome outcome;
        for (const Command& command : commands) {
            try {
                execute(command);
                continue;
            } catch (const StepFailure& failure) {
                outcome = {false, command.line, command.source, failure.reason, failure.details};
            } catch (const std::exception& error) {
                outcome = {false,
                           command.line,
                           command.source,
                           std::string("uncaught error: ") + error.what(),
                           {}};
            }
            break;
        }
        backend_.stop();
        return outcome;
    }

  private:
    std::string text(const Word& word) const { return expandFolder(word.text, folder_); }
    std::string path(const Word& word) const { return resolvePath(text(word), folder_); }
    std::vector<std::string> texts(const Command& command, size_t first) const {
        std::vector<std::string> result;
        for (size_t i = first; i < command.args.size(); ++i)
            result.push_back(text(command.args[i]));
        return result;
    }
    std::vector<PieceText> block(const Command& command) const {
        std::vector<PieceText> lines;
        for (const PieceText& line : command.block) lines.push_back(expandFolder(line, folder_));
        return lines;
    }

    ui::Control& root() {
        if (!root_) fail("the program has not been started (start)");
        return *root_;
    }

    ui::Control& control(const std::string& name) {
        ui::Control& window = root();
        if (name == "Form1") return window;
        ui::Control* found = window.find(name);
        if (!found) fail("there is no control " + name);
        return *found;
    }

    template <typename T>
    T& control(const std::string& name, std::initializer_list<Kind> kinds, const char* wanted) {
        ui::Control& found = control(name);
        for (Kind kind : kinds) {
            if (found.kind() == kind) return static_cast<T&>(found);
        }
        fail(name + " is " + kindName(found.kind()) + ", not " + wanted);
    }

    // "NAME:N": the tab control and the page.
    std::pair<ui::TabControl*, ui::TabPage*> tabOf(const std::string& reference) {
        const size_t colon = reference.find(':');
        auto& tabs = control<ui::TabControl>(
            reference.substr(0, colon), {Kind::TabControl, Kind::PageControl}, "a tab control");
        const int index = std::stoi(reference.substr(colon + 1));
        ui::TabPage* page = tabs.page(index);
        if (!page) {
            fail(tabs.name() + " has no tab " + std::to_string(index) + " (it has " +
                 std::to_string(tabs.count()) + ")");
        }
        return {&tabs, page};
    }

    const NativeWindow* native() const { return backend_.window(); }

    void reach(ui::Control& target) {
        if (const auto why = unreachable(target)) fail("the user cannot reach it: " + *why);
        if (!native()) return;
        if (const auto why = native()->unreachable(target)) {
            fail("the window does not let the user reach it, though the model does: " + *why);
        }
    }

    // After every user action: what the program asked that the scenario could not answer.
    void settle() {
        const std::vector<std::string> problems = platform_.takeProblems();
        if (problems.empty()) return;
        std::string reason;
        for (const std::string& problem : problems)
            reason += (reason.empty() ? "" : "; ") + problem;
        fail(reason);
    }

    // The window must show what the model holds.
    static void agree(const std::string& model, const std::optional<std::string>& window) {
        if (window && *window != model) {
            fail("the window does not show what the model holds",
                 {{"model", model}, {"window", *window}});
        }
    }

    // A check: the window against the model, then the model against the expectation.
    static void compare(const std::string& expected, const std::string& model,
                        const std::optional<std::string>& window) {
        agree(model, window);
        if (model != expected) fail("", {{"expected", expected}, {"actual", model}});
    }

    template <typename Read>
    std::optional<std::string> fromWindow(Read read) const {
        if (!native()) return std::nullopt;
        return read(*native());
    }

    // Consumes the oldest dialog no check has consumed, which must be `wanted`; `anyText`
    // accepts a failure dialog whatever it says.
    void expectDialog(const Dialog& wanted, bool anyText = false) {
        const Dialog* next = platform_.nextDialog();
        const bool matches =
            next && (anyText ? next->type == wanted.type : next->describe() == wanted.describe());
        if (!matches) {
            fail("the next dialog is another",
                 {{"expected", anyText ? "failure *" : wanted.describe()},
                  {"actual", next ? next->describe() : "no dialog"}});
        }
        platform_.consumeDialog();
    }

    void execute(const Command& command) {
        const std::vector<Word>& args = command.args;
        const auto word = [&](size_t i) -> const std::string& { return args[i].text; };
        switch (command.verb) {
            case Verb::File:
                return writeFile(command);
            case Verb::Locale:
                platform_.setSeparators(text(args[0]), text(args[1]));
                ui::locale() = {text(args[0]), text(args[1])};
                return;
            case Verb::Readonly:
                return platform_.addReadOnly(path(args[0]));
            case Verb::Start:
                if (root_) fail("the program is already running");
                root_ = &backend_.start(platform_);
                return settle();
            case Verb::Menu: {
                auto& item = control<ui::MenuItem>(word(0), {Kind::MenuItem}, "a menu item");
                reach(item);
                backend_.chooseMenu(item);
                return settle();
            }
            case Verb::Click: {
                ui::Control& target =
                    control<ui::Control>(word(0), {Kind::Button, Kind::CheckBox, Kind::RadioButton},
                                         "a button, check box or radio button");
                reach(target);
                backend_.click(target);
                return settle();
            }
            case Verb::Type:
            case Verb::Keys: {
                ui::Control& field =
                    control<ui::Control>(word(0), {Kind::Edit, Kind::SpinBox, Kind::Memo},
                                         "an edit box, spin box or memo");
                reach(field);
                if (field.kind() == Kind::Memo && static_cast<ui::Memo&>(field).readOnly) {
                    fail("the user cannot type into " + field.name() + ": it is read-only");
                }
                if (command.verb == Verb::Type) {
                    backend_.typeText(field, text(args[1]));
                } else {
                    backend_.typeKeys(field, text(args[1]));
                }
                return settle();
            }
            case Verb::Press:
                root();
                for (const Key key : command.keys) {
                    backend_.press(key);
                    settle();
                }
                return;
            case Verb::Select:
                return select(command);
            case Verb::Tab:
                return selectTab(command);
            case Verb::Answer:
                return platform_.queueAnswer(word(0) == "yes");
            case Verb::Pick:
                if (!args[0].quoted) return platform_.queuePick(std::nullopt);
                return platform_.queuePick(path(args[0]));
            case Verb::Screenshot:
                if (!root_) fail("the program has not been started (start)");
                return backend_.screenshot(screenshots_ / (text(args[0]) + ".bmp"));
            case Verb::ExpectMessage: {
                static const std::pair<const char*, ui::MessageKind> kinds[] = {
                    {"error", ui::MessageKind::Error},
                    {"information", ui::MessageKind::Information},
                    {"warning", ui::MessageKind::Warning},
                    {"confirm", ui::MessageKind::Confirmation}};
                Dialog wanted{Dialog::Type::Message, {}, text(args[1]), {}};
                for (const auto& [name, kind] : kinds) {
                    if (word(0) == name) wanted.kind = kind;
                }
                return expectDialog(wanted);
            }
            case Verb::ExpectFailure:
                if (!args[0].quoted) return expectDialog({Dialog::Type::Failure, {}, {}, {}}, true);
                return expectDialog({Dialog::Type::Failure, {}, text(args[0]), {}});
            case Verb::ExpectQuestion:
                return expectDialog({Dialog::Type::Question, {}, text(args[0]), {}});
            case Verb::ExpectPicker:
                if (word(0) == "file") {
                    return expectDialog({Dialog::Type::FilePicker, {}, text(args[1]), {}});
                }
                return expectDialog({Dialog::Type::FolderPicker, {}, text(args[1]), text(args[2])});
            case Verb::ExpectNoDialog: {
                std::vector<std::string> left;
                for (const Dialog& dialog : platform_.unconsumedDialogs()) {
                    left.push_back(dialog.describe());
                }
                if (left.empty()) return;
                std::string shown;
                for (const std::string& one : left) shown += (shown.empty() ? "" : "; ") + one;
                fail("dialogs no check consumed", {{"expected", "no dialog"}, {"actual", shown}});
            }
            case Verb::ExpectText: {
                ui::Control& target = control(word(0));
                return compare(
                    showText(text(args[1])), showText(modelText(target)),
                    fromWindow([&](const NativeWindow& w) { return showText(w.text(target)); }));
            }
            case Verb::ExpectItems: {
                auto& box = control<ui::ComboBox>(word(0), {Kind::ComboBox}, "a drop-down list");
                return compare(
                    list(texts(command, 1)), list(box.items()),
                    fromWindow([&](const NativeWindow& w) { return list(w.items(box)); }));
            }
            case Verb::ExpectSelected: {
                auto& box = control<ui::ComboBox>(word(0), {Kind::ComboBox}, "a drop-down list");
                return compare(number(word(1)), std::to_string(box.itemIndex()),
                               fromWindow([&](const NativeWindow& w) {
                                   return std::to_string(w.selected(box));
                               }));
            }
            case Verb::ExpectChecked:
            case Verb::ExpectUnchecked: {
                ui::Control& target = control<ui::Control>(
                    word(0), {Kind::CheckBox, Kind::RadioButton}, "a check box or radio button");
                const auto shown = [](bool checked) { return checked ? "checked" : "unchecked"; };
                const bool model = target.kind() == Kind::CheckBox
                                       ? static_cast<ui::CheckBox&>(target).checked()
                                       : static_cast<ui::RadioButton&>(target).checked();
                return compare(
                    shown(command.verb == Verb::ExpectChecked), shown(model),
                    fromWindow([&](const NativeWindow& w) { return shown(w.checked(target)); }));
            }
            case Verb::ExpectEnabled:
            case Verb::ExpectDisabled: {
                const auto shown = [](bool enabled) { return enabled ? "enabled" : "disabled"; };
                const std::string expected = shown(command.verb == Verb::ExpectEnabled);
                if (word(0).find(':') != std::string::npos) {
                    const auto [tabs, page] = tabOf(word(0));
                    const int index = indexInParent(*page);
                    return compare(expected, shown(page->enabled()),
                                   fromWindow([&](const NativeWindow& w) {
                                       return shown(w.tabEnabled(*tabs, index));
                                   }));
                }
                ui::Control& target = control(word(0));
                return compare(
                    expected, shown(target.enabled()),
                    fromWindow([&](const NativeWindow& w) { return shown(w.enabled(target)); }));
            }
            case Verb::ExpectPage: {
                auto& pages = control<ui::TabControl>(
                    "TabControl1", {Kind::TabControl, Kind::PageControl}, "a page control");
                return compare(number(word(0)), std::to_string(pages.tabIndex()),
                               fromWindow([&](const NativeWindow& w) {
                                   return std::to_string(w.tabIndex(pages));
                               }));
            }
            case Verb::ExpectTab: {
                auto& tabs = control<ui::TabControl>(word(0), {Kind::TabControl, Kind::PageControl},
                                                     "a tab control");
                return compare(number(word(1)), std::to_string(tabs.tabIndex()),
                               fromWindow([&](const NativeWindow& w) {
                                   return std::to_string(w.tabIndex(tabs));
                               }));
            }
            case Verb::ExpectTabs: {
                auto& tabs = control<ui::TabControl>(word(0), {Kind::TabControl, Kind::PageControl},
                                                     "a tab control");
                std::vector<std::string> captions;
                for (int i = 0; i < tabs.count(); ++i) captions.push_back(tabs.page(i)->caption());
                return compare(
                    list(texts(command, 1)), list(captions),
                    fromWindow([&](const NativeWindow& w) { return list(w.tabs(tabs)); }));
            }
            case Verb::ExpectMemo:
                return expectMemo(command);
            case Verb::ExpectHint: {
                ui::Control& target = control(word(0));
                if (const auto why = unreachable(target)) {
                    fail("the pointer cannot rest on it: " + *why);
                }
                return compare(
                    showText(text(args[1])), showText(target.hint()),
                    fromWindow([&](const NativeWindow& w) { return showText(w.hint(target)); }));
            }
            case Verb::ExpectFocus: {
                ui::Control& target = control(word(0));
                compare(target.name(), nameOf(root().focused()),
                        fromWindow([&](const NativeWindow& w) { return nameOf(w.focus()); }));
                // A focus the user cannot see is no focus for the keyboard.
                if (const auto why = unreachable(target)) {
                    fail(target.name() + " has the focus, but the user cannot reach it: " + *why);
                }
                if (const auto why = native() ? native()->unreachable(target) : std::nullopt) {
                    fail(target.name() + " has the focus, but the window hides it: " + *why);
                }
                return;
            }
            case Verb::ExpectMenu: {
                std::vector<std::string> captions;
                if (ui::Control* bar = menuBar(root())) {
                    for (const auto& item : bar->children()) {
                        if (item->visible()) captions.push_back(item->caption());
                    }
                }
                return compare(list(texts(command, 0)), list(captions),
                               fromWindow([&](const NativeWindow& w) { return list(w.menu()); }));
            }
            case Verb::ExpectFile:
                return expectFile(command);
            case Verb::ExpectNoFile: {
                std::string bytes;
                const std::string file = path(args[0]);
                if (backend_.files().readFile(file, bytes) == FilePlatform::ReadResult::Absent)
                    return;
                fail(showText(file) + " exists");
            }
            case Verb::ExpectShellOpen: {
                const std::string file = path(args[0]);
                const auto& opened = platform_.lastShellOpen();
                if (opened && samePath(*opened, file)) return;
                fail("", {{"expected", showText(file)},
                          {"actual", opened ? showText(*opened) : "the shell opened nothing"}});
            }
        }
    }

    static ui::Control* menuBar(ui::Control& window) {
        for (const auto& child : window.children()) {
            if (child->kind() == Kind::MainMenu) return child.get();
        }
        return nullptr;
    }

    static std::string modelText(ui::Control& target) {
        if (isTextField(target)) return fieldText(target);
        switch (target.kind()) {
            case Kind::ComboBox:
                return static_cast<ui::ComboBox&>(target).selectedText();
            default:
                return target.caption();
        }
    }

    void writeFile(const Command& command) {
        const std::string file = path(command.args[0]);
        std::string bytes;
        try {
            bytes = encodeBlock(block(command), command.format, backend_.files());
        } catch (const std::invalid_argument& error) {
            fail(error.what());
        }
        if (!backend_.writeFile(file, bytes)) {
            fail("could not write " + showText(file));
        }
    }

    void expectFile(const Command& command) {
        const std::string file = path(command.args[0]);
        std::string expected;
        try {
            expected = encodeBlock(block(command), command.format, backend_.files());
        } catch (const std::invalid_argument& error) {
            fail(error.what());
        }
        std::string actual;
        switch (backend_.files().readFile(file, actual)) {
            case FilePlatform::ReadResult::Ok:
                break;
            case FilePlatform::ReadResult::Absent:
                fail(showText(file) + " does not exist");
            case FilePlatform::ReadResult::Unreadable:
                fail(showText(file) + " cannot be read");
        }
        if (actual == expected) return;
        fail(showText(file) + " differs",
             {{"first difference",
               describeDifference(expected, actual, command.format, backend_.files())}});
    }

    void expectMemo(const Command& command) {
        const auto [tabs, page] = tabOf(command.args[0].text);
        ui::Memo* memo = firstMemo(*page);
        if (!memo) fail("tab " + page->name() + " of " + tabs->name() + " holds no memo");
        std::vector<std::string> expected;
        for (const PieceText& line : block(command)) expected.push_back(joined(line));
        agree(showText(memo->text()),
              fromWindow([&](const NativeWindow& w) { return showText(w.text(*memo)); }));
        if (memo->lines() != expected) {
            fail(memo->name() + " holds other lines",
                 {{"expected", list(expected)}, {"actual", list(memo->lines())}});
        }
    }

    static ui::Memo* firstMemo(ui::Control& parent) {
        if (parent.kind() == Kind::Memo) return static_cast<ui::Memo*>(&parent);
        for (const auto& child : parent.children()) {
            if (ui::Memo* memo = firstMemo(*child)) return memo;
        }
        return nullptr;
    }

    void select(const Command& command) {
        auto& box =
            control<ui::ComboBox>(command.args[0].text, {Kind::ComboBox}, "a drop-down list");
        reach(box);
        const auto& items = box.items();
        int index = -1;
        if (command.args[1].quoted) {
            const std::string entry = text(command.args[1]);
            for (size_t i = 0; i < items.size() && index < 0; ++i) {
                if (items[i] == entry) index = static_cast<int>(i);
            }
            if (index < 0)
                fail(box.name() + " has no entry " + showText(entry) + "; it has " + list(items));
        } else {
            index = std::stoi(command.args[1].text);
            if (index < 0 || index >= static_cast<int>(items.size())) {
                fail(box.name() + " has no entry " + std::to_string(index) + "; it has " +
                     std::to_string(items.size()));
            }
        }
        backend_.select(box, index);
        settle();
    }

    void selectTab(const Command& command) {
        auto& tabs = control<ui::TabControl>(
            command.args[0].text, {Kind::TabControl, Kind::PageControl}, "a tab control");
        if (tabs.kind() == Kind::PageControl) {
            fail(tabs.name() + " shows no tabs: only the program turns its pages");
        }
        reach(tabs);
        const int index = std::stoi(command.args[1].text);
        const ui::TabPage* page = tabs.page(index);
        if (!page) {
            fail(tabs.name() + " has no tab " + std::to_string(index) + " (it has " +
                 std::to_string(tabs.count()) + ")");
        }
        const bool accepted = backend_.selectTab(tabs, index);
        settle();
        if (!page->enabled()) {
            fail("the user cannot reach it: tab " + std::to_string(index) + " (" + page->name() +
                 ") of " + tabs.name() + " is disabled, so the choice is refused" +
                 (accepted ? "; the window did not refuse it" : ""));
        }
        if (!accepted)
            fail("the window refused tab " + std::to_string(index) + ", which is enabled");
    }

    Backend& backend_;
    std::string folder_;
    ScriptedPlatform platform_;
    std::filesystem::path screenshots_;
    ui::Control* root_ = nullptr;
};

}  // namespace

Outcome runScenario(const std::vector<Command>& commands, Backend& backend,
                    const std::filesystem::path& screenshots) {
    return Interpreter(backend, screenshots).run(commands);
}

}  // namespace morvane::uiscript
