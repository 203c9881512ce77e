#pragma once

#include <memory>
#include <stdexcept>

#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/edit.h"
#include "toolkit/menu.h"
#include "toolkit/spin_box.h"
#include "toolkit/tab_control.h"

namespace morvane::uiscript {

// Where a control sits; the native window needs sizes to be clicked.
template <typename T>
T* at(T* control, int x, int y, int width, int height) {
    control->bounds = {x, y, width, height};
    return control;
}

// A small window with one of everything the runner treats specially: a page control turned by
// the menu, a tab control with a disabled tab, dialogs, files and a handler that throws.
inline std::unique_ptr<ui::Control> smallWindow(ui::Platform& platform) {
    auto window = std::make_unique<ui::Window>("Form1");
    window->setCaption("Test");
    window->bounds = {0, 0, 400, 300};
    auto* menu = window->add<ui::MainMenu>("menu");
    auto* pages =
        at(window->add<ui::TabControl>("TabControl1", ui::Kind::PageControl), 0, 0, 400, 300);
    auto* muNext = menu->add<ui::MenuItem>("muNext");
    muNext->setCaption("&Next");
    menu->add<ui::MenuItem>("muHidden")->setVisible(false);
    muNext->onClick = [pages] { pages->setTabIndex(1); };

    ui::TabPage* first = pages->addTab("pg0", "");
    auto* ed = at(first->add<ui::Edit>("ed"), 10, 10, 200, 24);
    ed->setHint("Type here");
    ed->onChange = [ed, &platform] {
        const std::string exe = platform.executablePath();
        const std::string folder = exe.substr(0, exe.rfind('\\'));
        if (ed->text() == "ask") {
            const bool yes = platform.askYesNo("Sure?") == ui::kAnswerYes;
            platform.showMessage(ui::MessageKind::Information, yes ? "yes" : "no");
        } else if (ed->text() == "save") {
            if (!platform.writeFile(folder + "\\out.txt", "saved")) {
                platform.showMessage(ui::MessageKind::Error, "refused");
            }
        } else if (ed->text() == "open") {
            platform.shellOpen(folder + "\\run.cmd");
        }
    };
    auto* boom = at(first->add<ui::Button>("boom"), 10, 40, 90, 26);
    boom->setCaption("Boom");
    boom->onClick = [] { throw std::runtime_error("boom"); };
    auto* folder = at(first->add<ui::Button>("folder"), 110, 40, 90, 26);
    folder->setCaption("Folder");
    folder->onClick = [&platform] { platform.pickFolder("Select a directory", "C:\\"); };
    at(first->add<ui::SpinBox>("sb", 0, 100, 1, 0, 1), 10, 80, 80, 24);
    at(first->add<ui::SpinBox>("sb2", 0, 10, 0.1, 2, 0.75), 100, 80, 80, 24);
    auto* cb = at(first->add<ui::ComboBox>("cb"), 10, 120, 200, 24);
    for (const char* item : {"a", "b", "a"}) cb->add(item);
    cb->onChange = [cb, ed, &platform] {
        if (const auto path = platform.pickFile("Pick " + cb->selectedText())) ed->setText(*path);
    };

    ui::TabPage* second = pages->addTab("pg1", "");
    auto* tc = at(second->add<ui::TabControl>("tc"), 10, 10, 300, 200);
    at(tc->addTab("t0", "One")->add<ui::Memo>("memo"), 10, 10, 200, 100)
        ->setLines({"l1", "", "{l3}"});
    ui::TabPage* t1 = tc->addTab("t1", "Two");
    at(t1->add<ui::CheckBox>("chk"), 10, 10, 100, 20);
    t1->setEnabled(false);
    tc->addTab("t2", "Three");
    return window;
}

}  // namespace morvane::uiscript
