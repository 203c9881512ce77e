#include "tools/uiscript/headless_backend.h"

#include "store/text.h"
#include "toolkit/check_box.h"
#include "toolkit/dispatch.h"
#include "toolkit/edit.h"
#include "toolkit/keyboard.h"
#include "toolkit/spin_box.h"
#include "tools/uiscript/text_fields.h"

namespace morvane::uiscript {

namespace {

constexpr const char* kFolder = "C:\\Morvane";

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
    keyboard_ = std::make_unique<HeadlessKeyboard>(*form_, platform);
    // The window opens activated: the focus goes where start-up put it, else to the first stop.
    if (!form_->focused()) {
        if (ui::Control* first = ui::firstTabStop(*form_)) first->setFocus();
    }
    return *form_;
}

void HeadlessBackend::stop() {
    keyboard_.reset();
    form_.reset();
}

void HeadlessBackend::act(const std::function<void()>& action) {
    keyboard_->commit();
    ui::dispatch(*platform_, action);
}

void HeadlessBackend::click(ui::Control& control) {
    act([&] {
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
    act([&] { item.userClick(); });
}

// Pasted text replaces the field's text; leaving the field commits it.
void HeadlessBackend::typeText(ui::Control& field, const std::string& text) {
    act([&] {
        field.setFocus();
        setFieldText(field, text);
    });
}

// Each character is a key: a line break (CR, LF or CR LF) Enter, a tab Tab, "\x08" Backspace,
// a blank Space. The focus may move on the way; whatever field has it at the end is left.
void HeadlessBackend::typeKeys(ui::Control& field, const std::string& text) {
    keyboard_->enterCleared(field);
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        const char32_t key = text::decodeUtf8(text, at);
        if (key == '\n' && start > 0 && text[start - 1] == '\r') continue;
        if (key == '\r' || key == '\n') {
            keyboard_->press(Key::Enter);
        } else if (key == '\t') {
            keyboard_->press(Key::Tab);
        } else if (key == 0x08) {
            keyboard_->press(Key::Backspace);
        } else if (key == ' ') {
            keyboard_->press(Key::Space);
        } else {
            keyboard_->type(key);
        }
    }
    keyboard_->commit();
}

void HeadlessBackend::press(Key key) { keyboard_->press(key); }

void HeadlessBackend::select(ui::ComboBox& box, int index) {
    act([&] { box.userSelect(index); });
}

bool HeadlessBackend::selectTab(ui::TabControl& tabs, int index) {
    bool accepted = false;
    act([&] { accepted = tabs.userSelect(index); });
    return accepted;
}

}  // namespace morvane::uiscript
