// Pictures every page of the window as PAGE.bmp files, and the whole screen with the window on
// it as screen.bmp, so the layout can be looked at without a display. Pages that only a save or
// a launch leads to are shown by setting the page directly. Given a settings file, the tool
// starts from a copy of it and, as a user would, chooses the first configuration and its first
// pool configuration, so the run page is pictured filled, and loads a record into each editor
// page before picturing it.
// Given a configuration title as well, it then launches that configuration with its first pool
// configuration and "Load Bitstream?" checked, and pictures the output page as launched.bmp.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/unit1.h"
#include "toolkit/dispatch.h"
#include "win32/view.h"
#include "win32/win32_files.h"
#include "win32/win32_platform.h"

namespace {

void pump(morvane::win32::Win32View& view) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        morvane::win32::processMessage(view, message);
    }
}

// The user chooses the first entry of a list, if it has one.
void chooseFirst(morvane::ui::Platform& platform, morvane::ui::ComboBox& box) {
    if (box.items().empty()) return;
    morvane::ui::dispatch(platform, [&box] { box.userSelect(0); });
}

// The user chooses entry `index` of a list, if it has one there.
void choose(morvane::ui::Platform& platform, morvane::ui::ComboBox& box, int index) {
    if (static_cast<int>(box.items().size()) <= index) return;
    morvane::ui::dispatch(platform, [&box, index] { box.userSelect(index); });
}

// Each editor page with a record loaded: the first configuration on the configuration page,
// then its first pool configuration and the second configuration's first token configuration,
// in lists filled as a configuration's save fills them (the save itself would ask a question).
void loadEditorPage(morvane::TForm1& form, morvane::ui::Platform& platform, int page) {
    switch (page) {
        case 1:
            choose(platform, *form.cbAddConfigChoseConfig, 1);
            break;
        case 2:
            form.AddNewPoolTitles(&form);
            choose(platform, *form.cbAddPoolChosePool, 1);
            break;
        case 3:
            choose(platform, *form.cbAddConfigChoseConfig, 2);
            form.AddTokenConfigs(&form);
            choose(platform, *form.cbSelectTokenSave, 1);
            break;
        default:
            break;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: pageshots FOLDER [SETTINGS [CONFIGURATION]]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    morvane::win32::Win32Platform platform;
    if (argc >= 3) {
        const std::wstring settings = morvane::widen(morvane::SettingsStore(platform).path());
        if (!CopyFileW(argv[2], settings.c_str(), FALSE)) {
            std::fprintf(stderr, "could not copy the settings file\n");
            return 1;
        }
    }
    const auto form = morvane::startForm1(platform);
    morvane::win32::Win32View view(*form, platform);
    view.show(SW_SHOWNORMAL);
    pump(view);
    if (argc >= 3) {
        chooseFirst(platform, *form->cbBitstreams);
        chooseFirst(platform, *form->cbChoosePoolConfig);
        pump(view);
    }
    const std::wstring folder = argv[1];
    if (!morvane::win32::saveWindowImage(GetDesktopWindow(), folder + L"\\screen.bmp")) {
        std::fprintf(stderr, "could not save the screen\n");
        return 1;
    }
    for (int page = 0; page < form->TabControl1->count(); ++page) {
        if (argc >= 3) loadEditorPage(*form, platform, page);
        form->TabControl1->setTabIndex(page);
        pump(view);
        const std::wstring file = folder + L"\\page" + std::to_wstring(page) + L".bmp";
        if (!morvane::win32::saveWindowImage(view.window(), file)) {
            std::fprintf(stderr, "could not save page %d\n", page);
            return 1;
        }
    }
    if (argc == 4) {
        const auto& titles = form->cbBitstreams->items();
        const auto chosen = std::find(titles.begin(), titles.end(), morvane::narrow(argv[3]));
        if (chosen == titles.end()) {
            std::fprintf(stderr, "no such configuration\n");
            return 1;
        }
        morvane::ui::dispatch(platform, [&] {
            form->cbBitstreams->userSelect(static_cast<int>(chosen - titles.begin()));
        });
        chooseFirst(platform, *form->cbChoosePoolConfig);
        morvane::ui::dispatch(platform, [&] { form->chkbxLoadBitstream->userClick(); });
        morvane::ui::dispatch(platform, [&] { form->Button4->userClick(); });
        pump(view);
        if (!morvane::win32::saveWindowImage(view.window(), folder + L"\\launched.bmp")) {
            std::fprintf(stderr, "could not save the launched output page\n");
            return 1;
        }
    }
    return 0;
}
