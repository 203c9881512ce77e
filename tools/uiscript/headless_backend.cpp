#include "tools/uiscript/headless_backend.h"

#include "store/text.h"
#include "toolkit/check_box.h"
#include "toolkit/dispatch.h"
#include "toolkit/edit.h"
#include "toolkit/spin_box.h"

namespace morvane::uiscript {

namespace {

constexpr const char* kFolder = "C:\\Morvane";

bool takesTabStop(const ui::Control& control) {
    switch (control.kind()) {
        case ui::Kind::Button:
        case ui::Kind::Edit:
        case ui::Kind::SpinBox:
        case ui::Kind::ComboBox:
        case ui::Kind::CheckBox:
        case ui::Kind::TabControl:
        case ui::Kind::Memo:
            return true;
        case ui::Kind::RadioButton: {
            // A radio group is entered at its checked button, else at its first.
            const auto& radio = static_cast<const ui::RadioButton&>(control);
            const ui::RadioButton* first = nullptr;
            for (const auto& sibling : control.parent()->children()) {
                if (sibling->kind() != ui::Kind::RadioButton) continue;
                const auto& other = static_cast<const ui::RadioButton&>(*sibling);
                if (other.groupName() != radio.groupName()) continue;
                if (other.checked()) return &other == &radio;
                if (!first) first = &other;
            }
            return first == &radio;
        }
        default:
            return false;
    }
}

// The first control in tab order that the user can reach: what an activated window focuses.
// Only the shown page of a tab control counts, and it comes before the tab strip.
ui::Control* firstTabStop(ui::Control& control) {
    if (!control.visible() || !control.enabled()) return nullptr;
    const bool pages =
        control.kind() == ui::Kind::TabControl || control.kind() == ui::Kind::PageControl;
    if (pages) {
        auto& tabs = static_cast<ui::TabControl&>(control);
        if (ui::TabPage* shown = tabs.page(tabs.tabIndex())) {
            if (ui::Control* found = firstTabStop(*shown)) return found;
        }
        return control.kind() == ui::Kind::TabControl ? &control : nullptr;
    }
    if (control.parent() && takesTabStop(control)) return &control;
    for (const auto& child : control.children()) {
        if (ui::Control* found = firstTabStop(*child)) return found;
    }
    return nullptr;
}

}  // namespace

HeadlessBackend::HeadlessBackend(const std::filesystem::path& folderHost,
                                 const std::filesystem::path& drives, Starter starter)
    : files_(kFolder, folderHost, drives), starter_(std::move(starter)) {}

HeadlessBackend::~HeadlessBackend() { stop(); }

std::string HeadlessBackend::folder() const { return kFolder; }

bool HeadlessBackend::writeFile(const std::string& path, std::string_view bytes) {
    return files_.makeParentFolders(path) && files_.writeFile(path, bytes);
}

ui::Control& HeadlessBackend::start(ui::Platform& platform) {
    platform_ = &platform;
    form_ = starter_(platform);
    // The window opens activated: the focus goes where start-up put it, else to the first stop.
    if (!form_->focused()) {
        if (ui::Control* first = firstTabStop(*form_)) first->setFocus();
    }
    return *form_;
}

void HeadlessBackend::stop() { form_.reset(); }

// A click moves the focus to what was clicked before the click acts, as a mouse does.
void HeadlessBackend::click(ui::Control& control) {
    control.setFocus();
    ui::dispatch(*platform_, [&] {
        switch (control.kind()) {
            case ui::Kind::Button:
                static_cast<ui::Button&>(control).userClick();
                break;
            case ui::Kind::CheckBox:
                static_cast<ui::CheckBox&>(control).userClick();
                break;
            case ui::Kind::RadioButton:
                static_cast<ui::RadioButton&>(control).userClick();
                break;
            default:
                break;
        }
    });
}

void HeadlessBackend::chooseMenu(ui::MenuItem& item) {
    ui::dispatch(*platform_, [&] { item.userClick(); });
}

void HeadlessBackend::commit(ui::Control& field, const std::string& text) {
    field.setFocus();
    ui::dispatch(*platform_, [&] {
        switch (field.kind()) {
            case ui::Kind::Edit:
                static_cast<ui::Edit&>(field).setText(text);
                break;
            case ui::Kind::SpinBox:
                static_cast<ui::SpinBox&>(field).setText(text);
                break;
            case ui::Kind::Memo:
                static_cast<ui::Memo&>(field).setText(text);
                break;
            default:
                break;
        }
    });
}

void HeadlessBackend::typeText(ui::Control& field, const std::string& text) { commit(field, text); }

// A line break in TEXT is the Enter key: a line break in a memo, a commit in a one-line field,
// after which typing goes on at the end of what the field then shows.
void HeadlessBackend::typeKeys(ui::Control& field, const std::string& text) {
    std::string typed;
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        const char32_t key = text::decodeUtf8(text, at);
        if (key == '\r' || key == '\n') {
            if (key == '\n' && start > 0 && text[start - 1] == '\r') continue;
            if (field.kind() == ui::Kind::Memo) {
                typed += "\r\n";
                continue;
            }
            commit(field, typed);
            typed = field.kind() == ui::Kind::SpinBox ? static_cast<ui::SpinBox&>(field).text()
                                                      : static_cast<ui::Edit&>(field).text();
            continue;
        }
        const bool dropped =
            field.kind() == ui::Kind::SpinBox && !static_cast<ui::SpinBox&>(field).acceptsKey(key);
        if (!dropped) typed.append(text, start, at - start);
    }
    commit(field, typed);
}

void HeadlessBackend::select(ui::ComboBox& box, int index) {
    box.setFocus();
    ui::dispatch(*platform_, [&] { box.userSelect(index); });
}

// The window's tab strips take the focus when clicked.
bool HeadlessBackend::selectTab(ui::TabControl& tabs, int index) {
    tabs.setFocus();
    bool accepted = false;
    ui::dispatch(*platform_, [&] { accepted = tabs.userSelect(index); });
    return accepted;
}

}  // namespace morvane::uiscript
