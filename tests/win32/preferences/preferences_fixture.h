// The preferences dialog from template 108 over a real catalogue list box,
// with a stream editor from template 109, all owned by a hidden window.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/list_view.h"
#include "catalogue/preferences_dialog.h"
#include "catalogue/stream_editor.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/test_folder.h"

// The catalogue, noting each show and hide of its list window.
class ShowRecordingView : public CListView {
public:
    int OnShowWindow(WPARAM shown, LPARAM) override {
        shows.push_back(shown != 0);
        return 0;
    }
    std::vector<bool> shows;
};

// What the test saw of a system file dialog.
struct FileDialogSeen {
    int count = 0;
    HWND owner = nullptr;
    std::string title;
    std::vector<std::string> fileTypes;   // the file type combo's entries
    int fileTypeSelected = -1;
    bool sizable = false;
};

// Answers the file dialogs shown while `recorder` records: types `path` into
// the file name box and presses "OK", or cancels when `path` is empty.
void AnswerFileDialogs(MessageBoxRecorder& recorder, const std::string& path, FileDialogSeen* seen);
// One answer for each activation of a file dialog, in order (a dialog that
// refuses a name is activated again when its message box closes).
void AnswerFileDialogs(MessageBoxRecorder& recorder, const std::vector<std::string>& answers,
                       FileDialogSeen* seen);

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    StreamRecord* Add(const char* name, int kind = kStreamKindRadio);
    // A button press, as the button itself sends it.
    void Press(int id);
    LRESULT SendToList(UINT message, WPARAM first = 0, LPARAM second = 0) const;
    std::vector<std::string> ListNames() const;      // rows of 1013
    std::vector<std::string> PanelNames() const;     // rows of the panel's view
    int ListSelection() const;
    void SelectInList(int row) const;
    std::string ListNameEdit() const;
    void SetListNameEdit(const char* text) const;
    std::string File(const char* name) const { return folder.Path() + "\\" + name; }
    // Exactly these boxes, in this order, each with its caption and icon, owned by the dialog.
    void ExpectBoxes(const MessageBoxRecorder& recorder,
                     const std::vector<std::pair<std::string, std::string>>& boxes, UINT icon = MB_ICONWARNING);

    HWND parent = nullptr;
    HWND list = nullptr;
    HWND dialog = nullptr;
    CWnd owner;
    ShowRecordingView view;
    CStream editor;
    CPref preferences;
    TestFolder folder;
};
