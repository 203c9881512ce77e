// Pictures every page of the window as PAGE.bmp files, and the whole screen with the window on
// it as screen.bmp, so the layout can be looked at without a display. Pages that only a save or
// a launch leads to are shown by setting the page directly.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/unit1.h"
#include "win32/view.h"
#include "win32/win32_platform.h"

namespace {

void pump(morvane::win32::Win32View& view) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        morvane::win32::processMessage(view, message);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pageshots FOLDER\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    morvane::win32::Win32Platform platform;
    const auto form = morvane::startForm1(platform);
    morvane::win32::Win32View view(*form, platform);
    view.show(SW_SHOWNORMAL);
    pump(view);
    const std::wstring folder = argv[1];
    if (!morvane::win32::saveWindowImage(GetDesktopWindow(), folder + L"\\screen.bmp")) {
        std::fprintf(stderr, "could not save the screen\n");
        return 1;
    }
    for (int page = 0; page < form->TabControl1->count(); ++page) {
        form->TabControl1->setTabIndex(page);
        pump(view);
        const std::wstring file = folder + L"\\page" + std::to_wstring(page) + L".bmp";
        if (!morvane::win32::saveWindowImage(view.window(), file)) {
            std::fprintf(stderr, "could not save page %d\n", page);
            return 1;
        }
    }
    return 0;
}
