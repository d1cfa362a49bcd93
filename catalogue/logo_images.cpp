#include "catalogue/logo_images.h"

#include <cstring>

#include "catalogue/portable/logo_scaling.h"

namespace {

// The part of the GDI+ flat interface used here (gdiplus.dll, loaded when a
// picture is first read, so that the plugin imports nothing more).
struct GdiplusStartupInput {
    UINT32 version;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};
struct GdiplusRect {
    INT x, y, width, height;
};
struct GdiplusBitmapData {
    UINT width;
    UINT height;
    INT stride;
    INT pixelFormat;
    void* scan0;
    UINT_PTR reserved;
};
using GdiplusStatus = int;
constexpr GdiplusStatus kGdiplusOk = 0;
constexpr UINT32 kGdiplusVersion = 1;
constexpr INT kPixelFormat32bppArgb = 0x26200A;
constexpr UINT kImageLockModeRead = 1;
// A picture larger than these is no logo anyone made, and decoding it would
// take the host's memory: 16 million pixels are 64 MB decoded.
constexpr UINT kMaxPictureSide = 16384;
constexpr uint64_t kMaxPicturePixels = 16u << 20;

struct Gdiplus {
    HMODULE module = nullptr;
    ULONG_PTR token = 0;
    GdiplusStatus(WINAPI* startup)(ULONG_PTR*, const GdiplusStartupInput*, void*) = nullptr;
    void(WINAPI* shutdown)(ULONG_PTR) = nullptr;
    GdiplusStatus(WINAPI* createFromFile)(const WCHAR*, void**) = nullptr;
    GdiplusStatus(WINAPI* createFromStream)(IStream*, void**) = nullptr;
    GdiplusStatus(WINAPI* width)(void*, UINT*) = nullptr;
    GdiplusStatus(WINAPI* height)(void*, UINT*) = nullptr;
    GdiplusStatus(WINAPI* lockBits)(void*, const GdiplusRect*, UINT, INT, GdiplusBitmapData*) = nullptr;
    GdiplusStatus(WINAPI* unlockBits)(void*, GdiplusBitmapData*) = nullptr;
    GdiplusStatus(WINAPI* dispose)(void*) = nullptr;

    template <typename Function>
    bool Find(Function& function, const char* name) {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        return function != nullptr;
    }

    // Started for one picture and stopped after it: a plugin must not keep
    // GDI+ running in the host, nor stop it from DllMain.
    bool Start() {
        module = LoadLibraryA("gdiplus.dll");
        if (!module) return false;
        GdiplusStartupInput input = {kGdiplusVersion, nullptr, FALSE, FALSE};
        bool found = Find(startup, "GdiplusStartup") && Find(shutdown, "GdiplusShutdown") &&
                     Find(createFromFile, "GdipCreateBitmapFromFile") &&
                     Find(createFromStream, "GdipCreateBitmapFromStream") && Find(width, "GdipGetImageWidth") &&
                     Find(height, "GdipGetImageHeight") && Find(lockBits, "GdipBitmapLockBits") &&
                     Find(unlockBits, "GdipBitmapUnlockBits") && Find(dispose, "GdipDisposeImage");
        if (!found || startup(&token, &input, nullptr) != kGdiplusOk) {
            token = 0;
            return false;
        }
        return true;
    }
    ~Gdiplus() {
        if (token) shutdown(token);
        if (module) FreeLibrary(module);
    }
};

// The decoded bitmap scaled, then disposed of.
PictureReading ScaleBitmap(Gdiplus& gdiplus, void* bitmap, ScaledPicture& picture) {
    UINT w = 0, h = 0;
    PictureReading reading = PictureReading::Unreadable;
    if (gdiplus.width(bitmap, &w) == kGdiplusOk && gdiplus.height(bitmap, &h) == kGdiplusOk && w > 0 && h > 0) {
        reading = PictureReading::TooLarge;
        if (w <= kMaxPictureSide && h <= kMaxPictureSide && static_cast<uint64_t>(w) * h <= kMaxPicturePixels) {
            // Scaled where the decoder put the pixels: a second copy of a large picture could fail.
            GdiplusRect all = {0, 0, static_cast<INT>(w), static_cast<INT>(h)};
            GdiplusBitmapData data;
            memset(&data, 0, sizeof data);
            reading = PictureReading::Unreadable;
            if (gdiplus.lockBits(bitmap, &all, kImageLockModeRead, kPixelFormat32bppArgb, &data) == kGdiplusOk) {
                if (ScalePictureRows(static_cast<const uint8_t*>(data.scan0), data.stride, static_cast<int>(w),
                                     static_cast<int>(h), picture))
                    reading = PictureReading::Read;
                gdiplus.unlockBits(bitmap, &data);
            }
        }
    }
    gdiplus.dispose(bitmap);
    return reading;
}

}  // namespace

PictureReading ReadScaledPicture(const char* path, ScaledPicture& picture) {
    WCHAR widePath[MAX_PATH];
    if (path == nullptr || !MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH)) return PictureReading::Unreadable;
    Gdiplus gdiplus;
    if (!gdiplus.Start()) return PictureReading::Unreadable;
    void* bitmap = nullptr;
    if (gdiplus.createFromFile(widePath, &bitmap) != kGdiplusOk || !bitmap) return PictureReading::Unreadable;
    return ScaleBitmap(gdiplus, bitmap, picture);
}

PictureReading ReadScaledPictureBytes(const void* bytes, size_t size, ScaledPicture& picture) {
    IStream* stream = nullptr;
    if (bytes == nullptr || size == 0 || CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) {
        return PictureReading::Unreadable;
    }
    PictureReading reading = PictureReading::Unreadable;
    const LARGE_INTEGER start = {};
    ULONG written = 0;
    if (stream->Write(bytes, static_cast<ULONG>(size), &written) == S_OK && written == size &&
        stream->Seek(start, STREAM_SEEK_SET, nullptr) == S_OK) {
        Gdiplus gdiplus;
        void* bitmap = nullptr;
        if (gdiplus.Start() && gdiplus.createFromStream(stream, &bitmap) == kGdiplusOk && bitmap) {
            reading = ScaleBitmap(gdiplus, bitmap, picture);
        }
    }
    stream->Release();
    return reading;
}

HMODULE CodeModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CodeModule), &module);
    return module;
}

BITMAPINFO LogoBitmapInfo() {
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kLogoSide;
    info.bmiHeader.biHeight = kLogoSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool ReadLogoResource(HMODULE module, int resourceId, uint8_t (&logo)[kLogoBytes]) {
    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, kLogoSide, kLogoSide, LR_CREATEDIBSECTION));
    if (loaded == nullptr) return false;
    BITMAPINFO info = LogoBitmapInfo();
    HDC dc = CreateCompatibleDC(nullptr);
    // 48 pixels of 3 bytes make 144-byte rows: no padding to strip.
    bool read = dc && GetDIBits(dc, loaded, 0, kLogoSide, logo, &info, DIB_RGB_COLORS) == kLogoSide;
    if (dc) DeleteDC(dc);
    DeleteObject(loaded);
    return read;
}

