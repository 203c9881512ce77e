#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "app/unit1.h"
#include "win32/view.h"
#include "win32/win32_platform.h"

// The program takes no arguments and reads no environment: it starts the window and runs it
// until it is closed.
int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&controls);

    morvane::win32::Win32Platform platform;
    const std::unique_ptr<morvane::TForm1> form = morvane::startForm1(platform);
    morvane::win32::Win32View view(*form, platform);
    platform.setOwner(view.window());
    view.show(showCommand);
    const int result = morvane::win32::runMessageLoop(view);
    platform.setOwner(nullptr);
    return result;
}
