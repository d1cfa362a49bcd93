#include "tests/support/catalogue_fixture.h"

#include <cstdio>
#include <cstring>

namespace {

const char kParentClass[] = "OndariaCatalogueTestParent";

void RegisterParentClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kParentClass;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    registered = true;
}

}  // namespace

StreamRecord* MakeRecord(const char* name, int kind, const char* keywords) {
    auto* record = new StreamRecord;
    memset(record, 0, sizeof *record);
    record->kind = static_cast<int16_t>(kind);
    SetField(record->name, name);
    char address[kTextFieldSize];
    snprintf(address, sizeof address, "http://example.org/%s", name ? name : "");
    SetField(record->address, address);
    SetField(record->keywords, keywords);
    return record;
}

HWND CreateCatalogueListBox(HWND* parentOut, bool virtualList) {
    RegisterParentClass();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND parent = CreateWindowExA(0, kParentClass, "Ondaria test", WS_OVERLAPPEDWINDOW, 0, 0,
                                  400, 600, nullptr, nullptr, instance, nullptr);
    HWND list = CreateWindowExA(
        0, "LISTBOX", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
            (virtualList ? LBS_NODATA : 0),
        0, 0, 380, 560, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STREAM_LIST)),
        instance, nullptr);
    if (parentOut) *parentOut = parent;
    return list;
}

void CatalogueTest::SetUp() {
    list = CreateCatalogueListBox(&parent);
    ASSERT_NE(parent, nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(view.Subclass(list), 0);
}

void CatalogueTest::TearDown() {
    view.ClearCatalogue();
    if (view.window) view.Unsubclass();
    if (list) DestroyWindow(list);
    if (parent) DestroyWindow(parent);
}

int CatalogueTest::Add(const char* name, int kind, const char* keywords) {
    StreamRecord* record = MakeRecord(name, kind, keywords);
    int result = view.AddStream(record);
    if (!result) delete record;
    return result;
}

std::vector<std::string> ViewNames(const CListView& view) {
    std::vector<std::string> names;
    for (int row = 0; row < view.ViewRowCount(); ++row) names.push_back(view.ViewRecordAt(row)->name);
    return names;
}
