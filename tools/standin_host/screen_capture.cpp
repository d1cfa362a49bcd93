#include "tools/standin_host/screen_capture.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace standin {

int CaptureScreenToBmp(const std::string& path) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) return 0;
    HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as the file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int ok = 0;
    if (memory && shot) {
        HGDIOBJ old = SelectObject(memory, shot);
        if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
            DWORD imageSize = stride * static_cast<DWORD>(height);
            BITMAPFILEHEADER file = {};
            file.bfType = 0x4D42;
            file.bfOffBits = sizeof file + sizeof info.bmiHeader;
            file.bfSize = file.bfOffBits + imageSize;
            BITMAPINFOHEADER header = info.bmiHeader;
            header.biSizeImage = imageSize;
            FILE* out = std::fopen(path.c_str(), "wb");
            if (out) {
                ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                     std::fwrite(bits, 1, imageSize, out) == imageSize;
                ok = (std::fclose(out) == 0 && ok) ? 1 : 0;
            }
        }
        SelectObject(memory, old);
    }
    if (shot) DeleteObject(shot);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace standin
