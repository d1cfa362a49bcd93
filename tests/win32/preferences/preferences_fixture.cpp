#include "tests/win32/preferences/preferences_fixture.h"

#include <memory>

#include "tests/support/catalogue_fixture.h"

namespace {

constexpr int kFileNameBox = 0x47C;   // combo (or edit) of the file name
constexpr int kFileTypeCombo = 0x470;

std::string TextOf(HWND hwnd) {
    char text[512] = {0};
    if (hwnd) GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The dialog is activated before it has finished setting itself up; it is
// looked at and answered from a timer, which runs once its queue is empty.
struct PendingAnswer {
    HWND dialog = nullptr;
    std::string path;
    FileDialogSeen* seen = nullptr;
};
thread_local PendingAnswer g_pending;

void CALLBACK AnswerLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = g_pending.dialog;
    if (!::IsWindow(dialog)) return;
    if (FileDialogSeen* seen = g_pending.seen) {
        ++seen->count;
        seen->owner = GetWindow(dialog, GW_OWNER);
        seen->title = TextOf(dialog);
        seen->sizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
        seen->fileTypes.clear();
        HWND types = GetDlgItem(dialog, kFileTypeCombo);
        LRESULT n = SendMessageA(types, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            char entry[256] = {0};
            SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
            seen->fileTypes.push_back(entry);
        }
        seen->fileTypeSelected = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
    }
    if (g_pending.path.empty()) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return;
    }
    HWND box = GetDlgItem(dialog, kFileNameBox);
    char cls[32] = {0};
    if (box) GetClassNameA(box, cls, sizeof cls);
    if (box && lstrcmpiA(cls, "ComboBox") == 0) {
        HWND inner = FindWindowExA(box, nullptr, "Edit", nullptr);
        if (inner) box = inner;
    }
    if (box) SetWindowTextA(box, g_pending.path.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

}  // namespace

void AnswerFileDialogs(MessageBoxRecorder& recorder, const std::string& path, FileDialogSeen* seen) {
    AnswerFileDialogs(recorder, std::vector<std::string>{path}, seen);
}

void AnswerFileDialogs(MessageBoxRecorder& recorder, const std::vector<std::string>& answers,
                       FileDialogSeen* seen) {
    auto queue = std::make_shared<std::vector<std::string>>(answers);
    recorder.otherDialog = [queue, seen](HWND dialog) {
        // Only file dialogs: the preferences dialog itself is activated again
        // when one closes.
        if (GetDlgItem(dialog, kFileTypeCombo) == nullptr || queue->empty()) return;
        g_pending.dialog = dialog;
        g_pending.path = queue->front();
        g_pending.seen = seen;
        queue->erase(queue->begin());
        SetTimer(nullptr, 0, 0, &AnswerLater);
    };
}

void PreferencesTest::SetUp() {
    list = CreateCatalogueListBox(&parent);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(view.Subclass(list), 0);
    owner.window = parent;
    owner.instance = GetModuleHandleA(nullptr);

    ASSERT_EQ(editor.Create(IDD_STREAM_EDITOR, &owner, &CDialog::ModelessDialogProc), 1);
    editor.catalogue = &view;
    editor.preferences = &preferences;
    view.AddReleaseListener(&editor);

    ASSERT_EQ(preferences.Create(IDD_PREFERENCES, &owner, &CDialog::ModelessDialogProc), 1);
    preferences.editor = &editor;
    preferences.catalogue = &view;
    view.preferences = &preferences;
    dialog = preferences.window;
}

void PreferencesTest::TearDown() {
    view.ClearCatalogue();
    view.RemoveReleaseListener(&editor);
    if (::IsWindow(editor.window)) ::DestroyWindow(editor.window);
    if (::IsWindow(dialog)) ::DestroyWindow(dialog);
    if (view.window) view.Unsubclass();
    if (list) DestroyWindow(list);
    if (parent) DestroyWindow(parent);
}

StreamRecord* PreferencesTest::Add(const char* name, int kind) {
    StreamRecord* record = MakeRecord(name, kind);
    if (!view.AddStream(record)) {
        delete record;
        return nullptr;
    }
    return record;
}

void PreferencesTest::Press(int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

LRESULT PreferencesTest::SendToList(UINT message, WPARAM first, LPARAM second) const {
    return SendDlgItemMessageA(dialog, IDC_PREFERENCES_LIST, message, first, second);
}

std::vector<std::string> PreferencesTest::ListNames() const {
    std::vector<std::string> names;
    LRESULT n = SendToList(LB_GETCOUNT);
    for (LRESULT i = 0; i < n; ++i) {
        char text[kTextFieldSize] = {0};
        SendToList(LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        names.push_back(text);
    }
    return names;
}

std::vector<std::string> PreferencesTest::PanelNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < view.ViewRowCount(); ++i) names.push_back(view.ViewRecordAt(i)->name);
    return names;
}

int PreferencesTest::ListSelection() const { return static_cast<int>(SendToList(LB_GETCURSEL)); }

void PreferencesTest::SelectInList(int row) const { SendToList(LB_SETCURSEL, static_cast<WPARAM>(row)); }

std::string PreferencesTest::ListNameEdit() const {
    char text[256] = {0};
    GetDlgItemTextA(dialog, IDC_LIST_NAME, text, sizeof text);
    return text;
}

void PreferencesTest::SetListNameEdit(const char* text) const { SetDlgItemTextA(dialog, IDC_LIST_NAME, text); }

void PreferencesTest::ExpectBoxes(const MessageBoxRecorder& recorder,
                                  const std::vector<std::pair<std::string, std::string>>& boxes, UINT icon) {
    ASSERT_EQ(recorder.boxes.size(), boxes.size()) << ::testing::PrintToString(recorder.Texts());
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(recorder.boxes[i].text, boxes[i].first) << i;
        EXPECT_EQ(recorder.boxes[i].caption, boxes[i].second) << i;
        EXPECT_EQ(recorder.boxes[i].icon, icon) << i;
        EXPECT_EQ(recorder.boxes[i].owner, dialog) << i;
    }
}
