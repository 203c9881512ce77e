// The yardstick for Morvane's start-up: a bare window of the same client size with a menu and
// 150 edit controls. Built twice: plain (only the system's core DLLs), and importing the DLLs
// morvane.exe imports with its manifest (BARE_WITH_MORVANE_DLLS), so the gap between the two
// is what those DLLs cost and the rest is Morvane's own. Like Morvane it reads no argument and
// no environment variable; it runs until it is closed.
#include <windows.h>

#ifdef BARE_WITH_MORVANE_DLLS
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <uxtheme.h>

// One function of every DLL morvane.exe imports beyond the plain build's, so the loader maps
// them all; none is called.
extern "C" void* const kMorvaneImports[] = {
    reinterpret_cast<void*>(&InitCommonControlsEx), reinterpret_cast<void*>(&GetOpenFileNameW),
    reinterpret_cast<void*>(&CoInitializeEx),       reinterpret_cast<void*>(&ShellExecuteW),
    reinterpret_cast<void*>(&OpenThemeData),
};
#endif

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
#ifdef BARE_WITH_MORVANE_DLLS
    // Keeps the table (and so the imports) in the program.
    if (kMorvaneImports[0] == nullptr) return 1;
#endif
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassExW(&windowClass);

    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Load/Run Bitstream");
    AppendMenuW(menu, MF_STRING, 2, L"Add/Edit Bitstream Config");
    AppendMenuW(menu, MF_STRING, 3, L"About Morvane");
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    RECT frame{0, 0, 1125, 675};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    HWND window = CreateWindowExW(0, L"BareWindow", L"Bare window", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, menu, instance, nullptr);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < 150; ++i) {
        HWND edit = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
            16 + (i % 6) * 184, 16 + (i / 6) * 26, 170, 23, window,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(100 + i)), instance, nullptr);
        SendMessageW(edit, WM_SETFONT, font, FALSE);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
