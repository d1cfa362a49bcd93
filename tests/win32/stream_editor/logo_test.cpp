// The editor's logo: loading it from the default bitmap and from files,
// the "Changer" button through the system's open dialog, and the preview
// read back from the dialog's pixels.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <dlgs.h>

#include "catalogue/logo_images.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_folder.h"
#include "tests/win32/stream_editor/editor_fixture.h"

namespace {

constexpr COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);
constexpr COLORREF kGreen = RGB(0x20, 0xA0, 0x40);

// A 100 x 100 picture in four quadrants of plain colours.
COLORREF Quadrant(int x, int y, int side) {
    const bool right = x >= side / 2, bottom = y >= side / 2;
    if (!right && !bottom) return RGB(0xFF, 0, 0);
    if (right && !bottom) return RGB(0, 0xFF, 0);
    if (!right) return RGB(0, 0, 0xFF);
    return RGB(0xFF, 0xFF, 0);
}

// Rows of a bitmap, top row first, as 24-bit pixels.
std::vector<std::string> RowsOf(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, height, &pixels[0], &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) rows.push_back(pixels.substr(static_cast<size_t>(y) * stride, width * 3));
    return rows;
}

std::string LogoRow(const unsigned char* logo, int y) {
    return std::string(reinterpret_cast<const char*>(logo) + (kLogoSide - 1 - y) * kLogoSide * 3, kLogoSide * 3);
}

// Answers the system's open dialog once it has settled (its lists are filled
// after it is activated): notes the file type shown, then types `path` and
// presses Open, or presses Cancel when `path` is empty.
class OpenDialogDriver {
public:
    explicit OpenDialogDriver(const std::string& path) : path_(path) {
        current_ = this;
        boxes_.otherDialog = [](HWND dialog) {
            if (GetPropA(dialog, "answered")) return;
            SetPropA(dialog, "answered", reinterpret_cast<HANDLE>(1));
            ++current_->dialogs;
            SetTimer(dialog, 1, 10, &OpenDialogDriver::Answer);
        };
    }
    ~OpenDialogDriver() { current_ = nullptr; }

    int dialogs = 0;
    std::string fileType;
    std::vector<std::string> Boxes() const { return boxes_.Texts(); }

private:
    static void CALLBACK Answer(HWND dialog, UINT, UINT_PTR timer, DWORD) {
        KillTimer(dialog, timer);
        RemovePropA(dialog, "answered");
        char text[256] = {0};
        GetDlgItemTextA(dialog, cmb1, text, sizeof text);
        current_->fileType = text;
        if (current_->path_.empty()) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        SetDlgItemTextA(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1, current_->path_.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }

    static OpenDialogDriver* current_;
    std::string path_;
    MessageBoxRecorder boxes_;
};
OpenDialogDriver* OpenDialogDriver::current_ = nullptr;

class LogoTest : public StreamEditorTest {
protected:
    void SetUp() override {
        StreamEditorTest::SetUp();
        picture = folder.Path() + "\\quadrants.bmp";
        ASSERT_TRUE(WriteBitmapFile(picture, 100, 100, [](int x, int y) { return Quadrant(x, y, 100); }));
    }

    void ExpectQuadrantLogo() const {
        // Away from the seams the stretched picture keeps its plain colours
        // (the system may smooth a few pixels either side of them).
        for (int y : {2, 10, 17, 31, 38, 45}) {
            for (int x : {2, 10, 17, 31, 38, 45}) {
                EXPECT_EQ(LogoPixel(editor.logoPixels, x, y), Quadrant(x, y, kLogoSide)) << x << "," << y;
            }
        }
        // Bottom row first: the first stored pixel is the bottom-left (blue) one.
        EXPECT_EQ(editor.logoPixels[0], 0xFF);
        EXPECT_EQ(editor.logoPixels[1], 0x00);
        EXPECT_EQ(editor.logoPixels[2], 0x00);
    }

    TestFolder folder;
    std::string picture;
};

}  // namespace

TEST_F(LogoTest, TheDefaultLogoIsStretchedFrom48By47) {
    memset(editor.logoPixels, 0, kLogoBytes);
    ASSERT_EQ(editor.LoadLogo(MAKEINTRESOURCEA(IDB_DEFAULT_LOGO), LR_CREATEDIBSECTION), 1);

    HBITMAP source = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_DEFAULT_LOGO), IMAGE_BITMAP, 0, 0,
                   LR_CREATEDIBSECTION));
    ASSERT_NE(source, nullptr);
    std::vector<std::string> rows = RowsOf(source, 48, 47);
    DeleteObject(source);
    // Stretching 47 rows to 48 repeats a row or smooths a little: nearly
    // every logo pixel is the source pixel at its row or the row before.
    int matching = 0, distinct = 0;
    for (int y = 0; y < kLogoSide; ++y) {
        const std::string row = LogoRow(editor.logoPixels, y);
        const std::string& at = rows[y < 47 ? y : 46];
        const std::string& before = rows[y > 0 ? y - 1 : 0];
        for (int x = 0; x < kLogoSide; ++x) {
            const std::string pixel = row.substr(x * 3, 3);
            if (pixel == at.substr(x * 3, 3) || pixel == before.substr(x * 3, 3)) ++matching;
        }
        if (y > 0 && row != LogoRow(editor.logoPixels, y - 1)) ++distinct;
    }
    EXPECT_GE(matching, kLogoSide * kLogoSide * 95 / 100);
    EXPECT_EQ(LogoPixel(editor.logoPixels, 0, 0), RGB(0xFF, 0x00, 0xFF));
    EXPECT_EQ(LogoPixel(editor.logoPixels, 47, 47), RGB(0xFF, 0x00, 0xFF));
    EXPECT_GT(distinct, 10);   // a picture, not a plain fill
}

TEST_F(LogoTest, ABitmapFileOfAnySizeBecomes48By48) {
    ASSERT_EQ(editor.LoadLogo(picture.c_str(), LR_LOADFROMFILE | LR_CREATEDIBSECTION), 1);
    ExpectQuadrantLogo();

    // An 8 x 8 picture is stretched up just the same.
    std::string small = folder.Path() + "\\small.bmp";
    ASSERT_TRUE(WriteBitmapFile(small, 8, 8, [](int x, int y) { return Quadrant(x, y, 8); }));
    memset(editor.logoPixels, 0, kLogoBytes);
    ASSERT_EQ(editor.LoadLogo(small.c_str(), LR_LOADFROMFILE | LR_CREATEDIBSECTION), 1);
    ExpectQuadrantLogo();
}

TEST_F(LogoTest, AFileThatIsNoBitmapKeepsThePreviousLogo) {
    ASSERT_EQ(editor.LoadLogo(picture.c_str(), LR_LOADFROMFILE | LR_CREATEDIBSECTION), 1);
    std::vector<unsigned char> before(editor.logoPixels, editor.logoPixels + kLogoBytes);

    std::string text = folder.Path() + "\\logo.bmp";
    HANDLE out = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    const char junk[] = "BM this is not a bitmap at all, only some text";
    DWORD written = 0;
    WriteFile(out, junk, sizeof junk, &written, nullptr);
    CloseHandle(out);

    EXPECT_EQ(editor.LoadLogo(text.c_str(), LR_LOADFROMFILE | LR_CREATEDIBSECTION), 0);
    EXPECT_EQ(editor.LoadLogo((folder.Path() + "\\missing.bmp").c_str(), LR_LOADFROMFILE | LR_CREATEDIBSECTION), 0);
    EXPECT_EQ(memcmp(editor.logoPixels, before.data(), kLogoBytes), 0);
}

TEST_F(LogoTest, ThePreviewFollowsTheColourTextAtEachRepaint) {
    StreamRecord* record = MakeRecord("logo");
    FillLogo(record->logo, [](int x, int) { return x < 24 ? kMagenta : kGreen; });
    record->transparentColour = 0xFF00FF;
    ASSERT_EQ(view.AddStream(record), 1);
    editor.BeginEdit(record);
    ShowAndPaint();

    const POINT at = PreviewCorner();
    const COLORREF ground = ClientPixel(at.x - 3, at.y + 24);
    ASSERT_NE(ground, kMagenta);
    ASSERT_NE(ground, kGreen);
    auto left = [&] { return ClientPixel(at.x + 4, at.y + 24); };
    auto right = [&] { return ClientPixel(at.x + 44, at.y + 24); };

    EXPECT_EQ(left(), ground);   // magenta is transparent
    EXPECT_EQ(right(), kGreen);
    EXPECT_EQ(ClientPixel(at.x + 44, at.y + 47), kGreen);   // the preview is 48 pixels high

    Type(IDC_EDITOR_COLOUR, "20A040");
    Repaint();
    EXPECT_EQ(left(), kMagenta);
    EXPECT_EQ(right(), ground);

    Type(IDC_EDITOR_COLOUR, "pas hexa");   // no colour: drawn as it is
    Repaint();
    EXPECT_EQ(left(), kMagenta);
    EXPECT_EQ(right(), kGreen);
}

TEST_F(LogoTest, ChangerLoadsTheFileChosenInTheOpenDialog) {
    editor.BeginEdit(nullptr);
    Type(IDC_EDITOR_COLOUR, "0");
    ShowAndPaint();

    OpenDialogDriver driver(picture);
    Press(IDC_EDITOR_CHANGE_LOGO);
    RECT pending;
    const bool invalidated = GetUpdateRect(editor.window, &pending, FALSE) != 0;

    EXPECT_EQ(driver.dialogs, 1);
    EXPECT_EQ(driver.fileType, "Images (*.png;*.jpg;*.jpeg;*.gif;*.ico;*.bmp)");
    EXPECT_EQ(driver.Boxes(), std::vector<std::string>{});
    ExpectQuadrantLogo();
    EXPECT_TRUE(invalidated);

    UpdateWindow(editor.window);
    GdiFlush();
    const POINT at = PreviewCorner();
    EXPECT_EQ(ClientPixel(at.x + 6, at.y + 6), RGB(0xFF, 0, 0));
    EXPECT_EQ(ClientPixel(at.x + 42, at.y + 42), RGB(0xFF, 0xFF, 0));
}

TEST_F(LogoTest, CancellingTheOpenDialogChangesNothing) {
    editor.BeginEdit(nullptr);
    std::vector<unsigned char> before(editor.logoPixels, editor.logoPixels + kLogoBytes);
    editor.Show(SW_SHOW);

    OpenDialogDriver driver("");
    Press(IDC_EDITOR_CHANGE_LOGO);

    EXPECT_EQ(driver.dialogs, 1);
    EXPECT_EQ(memcmp(editor.logoPixels, before.data(), kLogoBytes), 0);
    EXPECT_TRUE(EditorShown());
}

namespace {

// A real JPEG (16 x 16, #2040C0) and GIF (16 x 16, top half transparent, bottom #00A000).
const std::vector<uint8_t> kBlueJpeg = {
    0xFF,0xD8,0xFF,0xE0,0x00,0x10,0x4A,0x46,0x49,0x46,0x00,0x01,0x01,0x00,0x00,0x01,0x00,0x01,0x00,0x00,0xFF,0xDB,
    0x00,0x43,0x00,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,
    0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,
    0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,
    0x01,0x01,0x01,0x01,0x01,0xFF,0xDB,0x00,0x43,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,
    0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,
    0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,
    0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0xFF,0xC0,0x00,0x11,0x08,0x00,0x10,0x00,0x10,0x03,0x01,0x11,0x00,
    0x02,0x11,0x01,0x03,0x11,0x01,0xFF,0xC4,0x00,0x15,0x00,0x01,0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,
    0x00,0x00,0x00,0x00,0x00,0x00,0x09,0xFF,0xC4,0x00,0x14,0x10,0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,
    0x00,0x00,0x00,0x00,0x00,0x00,0x00,0xFF,0xC4,0x00,0x16,0x01,0x01,0x01,0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00,
    0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x08,0x0A,0xFF,0xC4,0x00,0x14,0x11,0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00,
    0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0xFF,0xDA,0x00,0x0C,0x03,0x01,0x00,0x02,0x11,0x03,0x11,0x00,0x3F,
    0x00,0x84,0xED,0x14,0x22,0xF0,0x00,0x01,0xFF,0xD9};
const std::vector<uint8_t> kHalfTransparentGif = {
    0x47,0x49,0x46,0x38,0x39,0x61,0x10,0x00,0x10,0x00,0xF0,0x00,0x00,0x00,0xA0,0x00,0x00,0x00,0x00,0x21,0xF9,0x04,
    0x01,0x00,0x00,0x01,0x00,0x2C,0x00,0x00,0x00,0x00,0x10,0x00,0x10,0x00,0x00,0x02,0x14,0x8C,0x8F,0xA9,0xCB,0xED,
    0x0F,0xA3,0x9C,0x0C,0xD8,0x8B,0xB3,0xDE,0xBC,0xFB,0x0F,0x86,0xE2,0xC8,0x15,0x00,0x3B};

// A picture file as the editor makes a logo of it: scaled, then keyed;
// `logo` is written only when the picture was read.
PictureReading ReadLogoPicture(const char* path, uint32_t keyColour, uint8_t (&logo)[kLogoBytes]) {
    ScaledPicture picture;
    const PictureReading reading = ReadScaledPicture(path, picture);
    if (reading == PictureReading::Read) KeyScaledPicture(picture, keyColour, logo);
    return reading;
}

// Pixels of a picture with a transparent left half and an opaque right half.
std::vector<uint32_t> HalfTransparent(int width, int height, uint32_t colour) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = x < width / 2 ? 0 : 0xFF000000u | colour;
    return pixels;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class PictureTest : public ::testing::Test {
protected:
    TestFolder folder;
    uint8_t logo[kLogoBytes] = {};
    std::string File(const char* name) const { return folder.Path() + "\\" + name; }
};

TEST_F(PictureTest, PngAndIcoAlphaBecomesTheKeyColour) {
    const std::string png = File("half.png");
    ASSERT_TRUE(WritePngFile(png, 64, 64, HalfTransparent(64, 64, 0x3366CC)));
    ASSERT_EQ(PictureReading::Read, ReadLogoPicture(png.c_str(), 0x00FF00, logo));
    EXPECT_EQ(LogoPixel(logo, 5, 20), RGB(0x00, 0xFF, 0x00));
    EXPECT_EQ(LogoPixel(logo, 40, 20), RGB(0x33, 0x66, 0xCC));

    const std::string ico = File("half.ico");
    ASSERT_TRUE(WriteIcoFile(ico, 32, 32, HalfTransparent(32, 32, 0xC03010)));
    ASSERT_EQ(PictureReading::Read, ReadLogoPicture(ico.c_str(), 0xFF00FF, logo));
    EXPECT_EQ(LogoPixel(logo, 5, 20), RGB(0xFF, 0x00, 0xFF));
    EXPECT_EQ(LogoPixel(logo, 40, 20), RGB(0xC0, 0x30, 0x10));
}

TEST_F(PictureTest, JpegAndGifAreReadAndAWidePictureGetsMargins) {
    const std::string jpeg = File("blue.jpg");
    ASSERT_TRUE(WriteBytesFile(jpeg, kBlueJpeg));
    ASSERT_EQ(PictureReading::Read, ReadLogoPicture(jpeg.c_str(), 0xFF00FF, logo));
    EXPECT_TRUE(Near(LogoPixel(logo, 24, 24), RGB(0x20, 0x40, 0xC0), 4)) << std::hex << LogoPixel(logo, 24, 24);

    const std::string gif = File("half.gif");
    ASSERT_TRUE(WriteBytesFile(gif, kHalfTransparentGif));
    ASSERT_EQ(PictureReading::Read, ReadLogoPicture(gif.c_str(), 0xFF00FF, logo));
    EXPECT_EQ(LogoPixel(logo, 24, 5), RGB(0xFF, 0x00, 0xFF));
    EXPECT_EQ(LogoPixel(logo, 24, 40), RGB(0x00, 0xA0, 0x00));

    const std::string wide = File("wide.png");
    ASSERT_TRUE(WritePngFile(wide, 96, 48, std::vector<uint32_t>(96 * 48, 0xFF102030u)));
    ASSERT_EQ(PictureReading::Read, ReadLogoPicture(wide.c_str(), 0xFF00FF, logo));
    EXPECT_EQ(LogoPixel(logo, 24, 2), RGB(0xFF, 0x00, 0xFF));    // the margin above
    EXPECT_EQ(LogoPixel(logo, 24, 24), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(LogoPixel(logo, 24, 45), RGB(0xFF, 0x00, 0xFF));   // and below
}

TEST_F(PictureTest, WhatIsNoPictureIsRefusedAndNothingWritten) {
    const std::string text = File("logo.png");
    ASSERT_TRUE(WriteBytesFile(text, std::vector<uint8_t>{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}));
    memset(logo, 7, sizeof logo);
    EXPECT_EQ(PictureReading::Unreadable, ReadLogoPicture(text.c_str(), 0xFF00FF, logo));
    EXPECT_EQ(PictureReading::Unreadable, ReadLogoPicture(File("missing.png").c_str(), 0xFF00FF, logo));
    EXPECT_EQ(logo[0], 7);
    EXPECT_EQ(logo[kLogoBytes - 1], 7);
}

// A picture whose pixels alone would take gigabytes is refused from its
// size, before anything is decoded into the host's memory.
TEST_F(PictureTest, AHugePictureIsRefusedAndNothingWritten) {
    const std::string huge = File("huge.png");
    ASSERT_TRUE(WriteBlankPngFile(huge, 20000, 20000));
    memset(logo, 7, sizeof logo);
    EXPECT_EQ(PictureReading::TooLarge, ReadLogoPicture(huge.c_str(), 0xFF00FF, logo));
    EXPECT_EQ(logo[0], 7);
    EXPECT_EQ(logo[kLogoBytes - 1], 7);
    // The same kind of file at a logo's size is read: the refusal is the size's.
    const std::string small = File("small.png");
    ASSERT_TRUE(WriteBlankPngFile(small, 64, 64));
    EXPECT_EQ(PictureReading::Read, ReadLogoPicture(small.c_str(), 0xFF00FF, logo));
    EXPECT_EQ(LogoPixel(logo, 24, 24), RGB(0, 0, 0));
}

}  // namespace

TEST_F(LogoTest, ChangerTellsAHugePictureAndKeepsTheLogo) {
    editor.BeginEdit(nullptr);
    std::vector<unsigned char> before(editor.logoPixels, editor.logoPixels + kLogoBytes);
    editor.Show(SW_SHOW);
    const std::string huge = folder.Path() + "\\huge.png";
    ASSERT_TRUE(WriteBlankPngFile(huge, 20000, 20000));

    OpenDialogDriver driver(huge);
    Press(IDC_EDITOR_CHANGE_LOGO);
    EXPECT_EQ(driver.Boxes(), std::vector<std::string>{"Image trop grande pour un logo !"});
    EXPECT_EQ(memcmp(editor.logoPixels, before.data(), kLogoBytes), 0);
}

TEST_F(LogoTest, ChangerTellsAnUnreadablePictureAndKeepsTheLogo) {
    editor.BeginEdit(nullptr);
    std::vector<unsigned char> before(editor.logoPixels, editor.logoPixels + kLogoBytes);
    editor.Show(SW_SHOW);
    const std::string junk = folder.Path() + "\\broken.png";
    ASSERT_TRUE(WriteBytesFile(junk, std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0, 0}));

    OpenDialogDriver driver(junk);
    Press(IDC_EDITOR_CHANGE_LOGO);
    EXPECT_EQ(driver.Boxes(), std::vector<std::string>{"Image illisible !"});
    EXPECT_EQ(memcmp(editor.logoPixels, before.data(), kLogoBytes), 0);
}

// The picture chosen is kept until the editor closes: a key colour typed
// afterwards recolours its transparent parts and its margins, and only those.
TEST_F(LogoTest, AKeyColourTypedAfterPickingRecoloursTransparentPartsAndMargins) {
    editor.BeginEdit(nullptr);
    Type(IDC_EDITOR_COLOUR, "FF00FF");
    editor.Show(SW_SHOW);
    const std::string png = folder.Path() + "\\wide-half.png";
    ASSERT_TRUE(WritePngFile(png, 96, 48, HalfTransparent(96, 48, 0x3366CC)));
    OpenDialogDriver driver(png);
    Press(IDC_EDITOR_CHANGE_LOGO);
    ASSERT_EQ(driver.Boxes(), std::vector<std::string>{});
    EXPECT_EQ(LogoPixel(editor.logoPixels, 5, 24), RGB(0xFF, 0x00, 0xFF));    // transparent half
    EXPECT_EQ(LogoPixel(editor.logoPixels, 24, 2), RGB(0xFF, 0x00, 0xFF));    // margin
    EXPECT_EQ(LogoPixel(editor.logoPixels, 40, 24), RGB(0x33, 0x66, 0xCC));

    Type(IDC_EDITOR_COLOUR, "00FF00");
    EXPECT_EQ(LogoPixel(editor.logoPixels, 5, 24), RGB(0x00, 0xFF, 0x00));
    EXPECT_EQ(LogoPixel(editor.logoPixels, 24, 2), RGB(0x00, 0xFF, 0x00));
    EXPECT_EQ(LogoPixel(editor.logoPixels, 24, 45), RGB(0x00, 0xFF, 0x00));
    EXPECT_EQ(LogoPixel(editor.logoPixels, 40, 24), RGB(0x33, 0x66, 0xCC));

    // A new editing starts from its own logo: the old picture is gone.
    editor.BeginEdit(nullptr);
    std::vector<unsigned char> fresh(editor.logoPixels, editor.logoPixels + kLogoBytes);
    Type(IDC_EDITOR_COLOUR, "0000FF");
    EXPECT_EQ(memcmp(editor.logoPixels, fresh.data(), kLogoBytes), 0);
}
