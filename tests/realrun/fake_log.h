#pragma once

#include <windows.h>

#include <string>

namespace fake {

// A number from the environment, or `fallback`.
inline DWORD numberFromEnvironment(const wchar_t* name, DWORD fallback) {
    wchar_t text[32] = {};
    if (GetEnvironmentVariableW(name, text, 32) == 0) return fallback;
    return static_cast<DWORD>(wcstoul(text, nullptr, 10));
}

// Appends one line (UTF-8, CR LF) to the log named by MORVANE_FAKE_LOG, or to `self` + ".log".
// The programs that share the log take turns through a named mutex, so lines never mix.
inline void appendLog(const std::wstring& self, const std::wstring& line) {
    wchar_t path[MAX_PATH] = {};
    std::wstring log = GetEnvironmentVariableW(L"MORVANE_FAKE_LOG", path, MAX_PATH)
                           ? std::wstring(path)
                           : self + L".log";
    std::wstring text = line + L"\r\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    HANDLE turn = CreateMutexW(nullptr, FALSE, L"morvane-fake-log");
    WaitForSingleObject(turn, 10000);
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        SetFilePointer(file, 0, nullptr, FILE_END);
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    ReleaseMutex(turn);
    CloseHandle(turn);
}

}  // namespace fake
