#include "win32/win32_files.h"

#include <windows.h>

#include "store/text.h"

namespace morvane {

namespace {

// Closes a handle on every path out.
struct Handle {
    HANDLE h;
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

}  // namespace

std::wstring widen(std::string_view utf8) {
    const std::u16string units = text::utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string narrow(std::wstring_view wide) {
    return text::utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string Win32Files::executablePath() const {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return narrow(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

FilePlatform::ReadResult Win32Files::readFile(const std::string& path, std::string& bytes) const {
    Handle file{CreateFileW(widen(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                   ? ReadResult::Absent
                   : ReadResult::Unreadable;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.h, &size)) return ReadResult::Unreadable;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!ReadFile(file.h, bytes.data() + done, want, &got, nullptr)) {
            return ReadResult::Unreadable;
        }
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return ReadResult::Ok;
}

bool Win32Files::writeFile(const std::string& path, std::string_view bytes) {
    Handle file{CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file.h, bytes.data() + done, want, &put, nullptr) || put == 0) {
            return false;
        }
        done += put;
    }
    return FlushFileBuffers(file.h) != 0;
}

bool Win32Files::replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32Files::removeFile(const std::string& path) {
    return DeleteFileW(widen(path).c_str()) != 0;
}

namespace {

std::string decodeCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        length);
    return narrow(wide);
}

bool encodeCodePage(UINT codePage, std::string_view utf8, std::string& bytes) {
    bytes.clear();
    if (utf8.empty()) return true;
    const std::wstring wide = widen(utf8);
    // The UTF-8 code page (which either can be) takes neither WC_NO_BEST_FIT_CHARS nor a
    // used-default flag; it fails on unpaired surrogates instead.
    const bool utf8Page = (codePage == CP_OEMCP ? GetOEMCP() : GetACP()) == CP_UTF8;
    const DWORD flags = utf8Page ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* lossyFlag = utf8Page ? nullptr : &lossy;
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                            nullptr, lossyFlag);
    if (lossy || length <= 0) return false;
    bytes.resize(static_cast<size_t>(length));
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        length, nullptr, lossyFlag);
    return !lossy;
}

}  // namespace

std::string Win32Files::ansiToUtf8(std::string_view ansi) const {
    return decodeCodePage(CP_ACP, ansi);
}

bool Win32Files::utf8ToAnsi(std::string_view utf8, std::string& ansi) const {
    return encodeCodePage(CP_ACP, utf8, ansi);
}

std::string Win32Files::oemToUtf8(std::string_view oem) const {
    return decodeCodePage(CP_OEMCP, oem);
}

bool Win32Files::utf8ToOem(std::string_view utf8, std::string& oem) const {
    return encodeCodePage(CP_OEMCP, utf8, oem);
}

bool Win32Files::ansiIsSingleByte() const {
    CPINFO info;
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

}  // namespace morvane
