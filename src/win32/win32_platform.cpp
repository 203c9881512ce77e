#include "win32/win32_platform.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>

namespace morvane::win32 {

namespace {

// The folder dialog needs COM on this thread for its new style.
struct ComApartment {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ~ComApartment() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
};

int CALLBACK selectStart(HWND dialog, UINT message, LPARAM /*lParam*/, LPARAM start) {
    if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

std::string localeText(LCTYPE type, const char* fallback) {
    wchar_t text[16] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 16) <= 0) return fallback;
    return narrow(text);
}

}  // namespace

Win32Platform::Win32Platform() : PlatformOnFiles(systemFiles_), fileName_(32768, L'\0') {}

void Win32Platform::showMessage(ui::MessageKind kind, const std::string& text) {
    const wchar_t* caption = L"Error";
    UINT type = MB_OK | MB_ICONERROR;
    switch (kind) {
        case ui::MessageKind::Error:
            break;
        case ui::MessageKind::Information:
            caption = L"Information";
            type = MB_OK | MB_ICONINFORMATION;
            break;
        case ui::MessageKind::Warning:
            caption = L"Warning";
            type = MB_OK | MB_ICONWARNING;
            break;
        case ui::MessageKind::Confirmation:
            caption = L"Confirm";
            type = MB_YESNO | MB_ICONQUESTION;
            break;
    }
    MessageBoxW(owner_, widen(text).c_str(), caption, type);
}

int Win32Platform::askYesNo(const std::string& text) {
    return MessageBoxW(owner_, widen(text).c_str(), L"Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES
               ? ui::kAnswerYes
               : ui::kAnswerNo;
}

void Win32Platform::showFailure(const std::string& text) {
    MessageBoxW(owner_, widen(text).c_str(), L"Error", MB_OK | MB_ICONERROR);
}

std::optional<std::string> Win32Platform::pickFile(const std::string& title) {
    const std::wstring wideTitle = widen(title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFile = fileName_.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName_.size());
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    const std::wstring before(fileName_.data());
    if (!GetOpenFileNameW(&dialog)) {
        // A cancelled dialog leaves the last chosen path for the next one.
        std::fill(fileName_.begin(), fileName_.end(), L'\0');
        std::copy(before.begin(), before.end(), fileName_.begin());
        return std::nullopt;
    }
    return narrow(fileName_.data());
}

std::optional<std::string> Win32Platform::pickFolder(const std::string& caption,
                                                     const std::string& start) {
    ComApartment com;
    const std::wstring wideCaption = widen(caption);
    const std::wstring wideStart = widen(start);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner_;
    browse.lpszTitle = wideCaption.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = selectStart;
    browse.lParam = reinterpret_cast<LPARAM>(wideStart.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (!chosen) return std::nullopt;
    std::wstring path(MAX_PATH, L'\0');
    const bool found = SHGetPathFromIDListW(chosen, path.data());
    CoTaskMemFree(chosen);
    if (!found) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return narrow(path);
}

void Win32Platform::shellOpen(const std::string& path) {
    ShellExecuteW(nullptr, L"open", widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string Win32Platform::decimalSeparator() const { return localeText(LOCALE_SDECIMAL, "."); }

std::string Win32Platform::thousandsSeparator() const { return localeText(LOCALE_STHOUSAND, ","); }

}  // namespace morvane::win32
