#include <vector>

#include "win32/view.h"

namespace morvane::win32 {

namespace {

// Releases GDI objects on every path out.
struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};
struct MemoryDc {
    HDC dc;
    ~MemoryDc() { DeleteDC(dc); }
};
struct Bitmap {
    HBITMAP bitmap;
    ~Bitmap() { DeleteObject(bitmap); }
};
struct File {
    HANDLE handle;
    ~File() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

bool capture(HWND window, HDC target, int width, int height) {
    // What is on screen, when the window is there; PrintWindow draws it off screen otherwise.
    if (IsWindowVisible(window) && !IsIconic(window)) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        HDC source = GetWindowDC(window);
        const bool copied = BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
        ReleaseDC(window, source);
        if (copied) return true;
    }
    return PrintWindow(window, target, 0) != 0;
}

}  // namespace

bool saveWindowImage(HWND window, const std::wstring& bmpPath) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;

    ScreenDc screen;
    MemoryDc memory{CreateCompatibleDC(screen.dc)};
    Bitmap bitmap{CreateCompatibleBitmap(screen.dc, width, height)};
    if (!memory.dc || !bitmap.bitmap) return false;
    const HGDIOBJ previous = SelectObject(memory.dc, bitmap.bitmap);
    const bool captured = capture(window, memory.dc, width, height);
    SelectObject(memory.dc, previous);
    if (!captured) return false;

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files store rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    if (!GetDIBits(memory.dc, bitmap.bitmap, 0, static_cast<UINT>(height), pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS)) {
        return false;
    }

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    File file{CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    return WriteFile(file.handle, &header, sizeof header, &written, nullptr) &&
           WriteFile(file.handle, &info, sizeof info, &written, nullptr) &&
           WriteFile(file.handle, pixels.data(), static_cast<DWORD>(pixels.size()), &written,
                     nullptr);
}

}  // namespace morvane::win32
