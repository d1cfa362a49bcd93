// The stream editor created from its template over a real catalogue list
// box, with a real preferences dialog to hand back to.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/preferences_dialog.h"
#include "catalogue/stream_editor.h"
#include "tests/support/catalogue_fixture.h"

// Live heap blocks of exactly one StreamRecord's size (the test program
// counts them in its own operator new and delete).
int LiveRecordAllocations();

// Writes a 24-bit bottom-up bitmap file whose pixel (x, y), counted from the
// top left, is colour(x, y) (a system colour value).
template <class Colour>
bool WriteBitmapFile(const std::string& path, int width, int height, Colour colour);

// Runs the messages waiting on this thread.
void PumpMessages();

// A 48 x 48 logo in StreamRecord layout with pixel (x, y), counted from the
// top left, set to colour(x, y).
template <class Colour>
void FillLogo(unsigned char* logo, Colour colour) {
    for (int y = 0; y < kLogoSide; ++y) {
        unsigned char* row = logo + (kLogoSide - 1 - y) * kLogoSide * 3;
        for (int x = 0; x < kLogoSide; ++x) {
            COLORREF c = colour(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
}

// Pixel (x, y) of a logo in StreamRecord layout, as a system colour value.
COLORREF LogoPixel(const unsigned char* logo, int x, int y);

class StreamEditorTest : public CatalogueTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void Type(int id, const char* text) const { SetDlgItemTextA(editor.window, id, text); }
    std::string Text(int id) const;
    std::string Title() const;
    bool Checked(int id) const { return IsDlgButtonChecked(editor.window, id) == BST_CHECKED; }
    // A click on one of the editor's buttons.
    void Press(int id) const;
    // Name and address, and the three optional addresses.
    void TypeEntry(const char* name, const char* address, const char* website = "", const char* playlist = "",
                   const char* podcast = "") const;
    bool EditorShown() const { return IsWindowVisible(editor.window) != 0; }
    bool PreferencesShown() const { return IsWindowVisible(preferences.window) != 0; }
    // Shows the editor and paints it completely.
    void ShowAndPaint();
    void Repaint();
    // The preview's top-left corner in the editor's client area.
    POINT PreviewCorner() const;
    COLORREF ClientPixel(int x, int y) const;

    CWnd owner;
    CPref preferences;
    CStream editor;
};

template <class Colour>
bool WriteBitmapFile(const std::string& path, int width, int height, Colour colour) {
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = &pixels[static_cast<size_t>(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            row[x * 3] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixels.size());
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
              WriteFile(out, &info, sizeof info, &written, nullptr) &&
              WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}
