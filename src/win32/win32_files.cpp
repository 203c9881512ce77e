#include "win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

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

// ReplaceFileW wants full paths (Wine refuses relative ones with error 267).
std::wstring fullPath(const std::string& path) {
    const std::wstring wide = widen(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return wide;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

// Errors of a replace that another program causes for a moment: an open handle that does not
// share deletion (virus scanners, editors, indexers), a file about to be deleted.
bool isPassing(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_FILE_NOT_FOUND ||
           error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

bool underWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

FilePlatform::ReplaceResult failure() {
    return isPassing(GetLastError()) ? FilePlatform::ReplaceResult::Busy
                                     : FilePlatform::ReplaceResult::Failed;
}

// The mutex of one process that holds a file's lock; released by the thread that took it.
class MutexLock : public FilePlatform::Lock {
  public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
    ~MutexLock() override {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }

  private:
    HANDLE mutex_;
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

FilePlatform::ReplaceResult Win32Files::replaceFile(const std::string& from,
                                                    const std::string& to) {
    const std::wstring source = fullPath(from);
    const std::wstring target = fullPath(to);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return ReplaceResult::Failed;
        // No file yet. Without MOVEFILE_REPLACE_EXISTING a file made meanwhile is not lost; the
        // next try replaces it properly.
        return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)
                   ? ReplaceResult::Done
                   : failure();
    }
    // MoveFileExW would replace a read-only file; ReplaceFileW refuses it, and so do we.
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        return ReplaceResult::Failed;
    }
    // The new file takes the attributes before it moves in: ReplaceFileW would keep them on
    // Windows, but Wine's drops them.
    const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (!SetFileAttributesW(source.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL)) {
        return ReplaceResult::Failed;
    }
    // Wine's ReplaceFileW moves the old file away before the new one moves in, so a reader can
    // find no file at all, and it leaves a file "rf*.tmp" behind whenever it fails; its rename
    // is atomic. On Windows ReplaceFileW is atomic and keeps the ACL and the creation time too.
    if (underWine()) {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? ReplaceResult::Done
                   : failure();
    }
    return ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                        nullptr, nullptr)
               ? ReplaceResult::Done
               : failure();
}

bool Win32Files::removeFile(const std::string& path) {
    return DeleteFileW(widen(path).c_str()) != 0;
}

std::string Win32Files::resolveLinks(const std::string& path) const {
    Handle file{CreateFileW(widen(path).c_str(), 0,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return path;
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(
            file.h, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
        if (length == 0) return path;
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(length);
    }
    std::wstring_view final = buffer;
    if (final.substr(0, 8) == L"\\\\?\\UNC\\") return narrow(L"\\" + std::wstring(final.substr(7)));
    if (final.substr(0, 4) == L"\\\\?\\") final.remove_prefix(4);
    const std::wstring given = fullPath(path);
    if (CompareStringOrdinal(final.data(), static_cast<int>(final.size()), given.data(),
                             static_cast<int>(given.size()), TRUE) == CSTR_EQUAL) {
        return path;
    }
    return narrow(final);
}

bool Win32Files::isReadOnly(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

std::vector<std::string> Win32Files::folderEntries(const std::string& folder) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widen(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(narrow(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// A named mutex, "Local\Morvane-" and a hash of the full path in capitals, as Windows compares
// paths: it lasts only while a process holds a handle, and the system releases it for a holder
// that ends (the wait then reports it abandoned, and the file is whole: replaces are atomic).
std::unique_ptr<FilePlatform::Lock> Win32Files::lockFile(const std::string& path,
                                                         std::chrono::milliseconds wait) {
    std::wstring full = fullPath(path);
    CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    unsigned long long hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t unit : full) {
        hash = (hash ^ static_cast<unsigned long long>(unit)) * 1099511628211ull;
    }
    char name[40];
    std::snprintf(name, sizeof name, "Local\\Morvane-%016llx", hash);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, widen(name).c_str());
    if (!mutex) return nullptr;
    const long long milliseconds = std::clamp<long long>(wait.count(), 0, INFINITE - 1);
    const DWORD result = WaitForSingleObject(mutex, static_cast<DWORD>(milliseconds));
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
        return std::make_unique<MutexLock>(mutex);
    }
    CloseHandle(mutex);
    return nullptr;
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
