#include "tests/win32/stream_editor/editor_fixture.h"

#include <cstdlib>
#include <new>

// Counting StreamRecord-sized blocks lets the tests see a record that was
// never handed over or released. Only a few are alive at once in this program.
namespace {
constexpr int kTracked = 256;
void* g_records[kTracked];
int g_liveRecords = 0;
}  // namespace

int LiveRecordAllocations() { return g_liveRecords; }

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (block == nullptr) throw std::bad_alloc();
    if (size == sizeof(StreamRecord)) {
        for (void*& slot : g_records) {
            if (slot == nullptr) {
                slot = block;
                ++g_liveRecords;
                break;
            }
        }
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    if (g_liveRecords > 0) {
        for (void*& slot : g_records) {
            if (slot == block) {
                slot = nullptr;
                --g_liveRecords;
                break;
            }
        }
    }
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

void PumpMessages() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

COLORREF LogoPixel(const unsigned char* logo, int x, int y) {
    const unsigned char* p = logo + (kLogoSide - 1 - y) * kLogoSide * 3 + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void StreamEditorTest::SetUp() {
    CatalogueTest::SetUp();
    owner.window = parent;
    owner.instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(preferences.Create(IDD_PREFERENCES, &owner, &CDialog::ModelessDialogProc), 1);
    preferences.catalogue = &view;
    preferences.editor = &editor;
    ASSERT_EQ(editor.Create(IDD_STREAM_EDITOR, &owner, &CDialog::ModelessDialogProc), 1);
    editor.preferences = &preferences;
    editor.catalogue = &view;
    view.preferences = &preferences;
    ASSERT_TRUE(view.AddReleaseListener(&editor));
}

void StreamEditorTest::TearDown() {
    if (IsWindow(editor.window)) DestroyWindow(editor.window);
    if (IsWindow(preferences.window)) DestroyWindow(preferences.window);
    CatalogueTest::TearDown();
    view.RemoveReleaseListener(&editor);
    PumpMessages();
}

std::string StreamEditorTest::Text(int id) const {
    char text[1024] = {0};
    GetDlgItemTextA(editor.window, id, text, sizeof text);
    return text;
}

std::string StreamEditorTest::Title() const {
    char text[256] = {0};
    GetWindowTextA(editor.window, text, sizeof text);
    return text;
}

void StreamEditorTest::Press(int id) const {
    SendMessageA(editor.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(editor.window, id)));
}

void StreamEditorTest::TypeEntry(const char* name, const char* address, const char* website, const char* playlist,
                                 const char* podcast) const {
    Type(IDC_EDITOR_NAME, name);
    Type(IDC_EDITOR_ADDRESS, address);
    Type(IDC_EDITOR_WEBSITE, website);
    Type(IDC_EDITOR_PLAYLIST, playlist);
    Type(IDC_EDITOR_PODCAST, podcast);
}

void StreamEditorTest::ShowAndPaint() {
    editor.Show(SW_SHOW);
    Repaint();
}

void StreamEditorTest::Repaint() {
    RedrawWindow(editor.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    UpdateWindow(editor.window);
    PumpMessages();
    GdiFlush();
}

POINT StreamEditorTest::PreviewCorner() const {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(GetDlgItem(editor.window, IDC_EDITOR_LOGO_MARKER), &r);
    POINT corner = {r.left, r.top};
    ScreenToClient(editor.window, &corner);
    return corner;
}

COLORREF StreamEditorTest::ClientPixel(int x, int y) const {
    HDC dc = GetDC(editor.window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(editor.window, dc);
    return colour;
}
