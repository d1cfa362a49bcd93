// List 1013 as a copy of the panel's view, and the buttons that edit the
// catalogue through it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/win32/preferences/preferences_fixture.h"

namespace {

using Names = std::vector<std::string>;
const char kNothingSelected[] = "Aucun élément n'est sélectionné !";
const char kErrorCaption[] = "Erreur Ondaria 2";

TEST_F(PreferencesTest, ShowCopiesThePanelViewWithItsRecordsAndSelection) {
    StreamRecord* a = Add("Alpha");
    Add("Beta TV", kStreamKindTv);
    StreamRecord* c = Add("Gamma");
    EXPECT_EQ(preferences.Show(SW_SHOW), 0);   // ShowWindow's answer: it was hidden
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ListNames(), (Names{"Alpha", "Beta TV", "Gamma"}));
    EXPECT_EQ(ListSelection(), 2);   // the last addition is selected in the panel
    EXPECT_EQ(SendToList(LB_GETITEMDATA, 0), reinterpret_cast<LRESULT>(a));
    EXPECT_EQ(SendToList(LB_GETITEMDATA, 2), reinterpret_cast<LRESULT>(c));

    // Under a search: the rows shown, no selection; hiding refills as well.
    view.ApplyFilter(1, 0, "");
    preferences.Show(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(ListNames(), (Names{"Alpha", "Gamma"}));
    EXPECT_EQ(ListSelection(), LB_ERR);
    EXPECT_EQ(SendToList(LB_GETITEMDATA, 1), reinterpret_cast<LRESULT>(c));

    view.SendMessageA(LB_SETCURSEL, 1, 0);
    preferences.Show(SW_SHOW);
    EXPECT_EQ(ListSelection(), 1);

    view.ClearCatalogue();
    preferences.Show(SW_SHOW);
    EXPECT_TRUE(ListNames().empty());
}

TEST_F(PreferencesTest, CommandsOnASelectedRowRefuseWithoutOne) {
    const int needSelection[] = {IDC_DELETE_BUTTON, IDC_EDIT_BUTTON, IDC_MOVE_UP_BUTTON, IDC_MOVE_DOWN_BUTTON};
    // First with an empty list, then with rows but none selected.
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) {
            Add("Alpha");
            Add("Beta");
            view.SendMessageA(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        }
        preferences.Show(SW_SHOW);
        ASSERT_EQ(ListSelection(), LB_ERR);
        for (int id : needSelection) {
            MessageBoxRecorder recorder;
            Press(id);
            ExpectBoxes(recorder, {{kNothingSelected, kErrorCaption}});
        }
        MessageBoxRecorder recorder;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_LIST, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PREFERENCES_LIST)));
        ExpectBoxes(recorder, {{kNothingSelected, kErrorCaption}});
    }
    EXPECT_EQ(PanelNames(), (Names{"Alpha", "Beta"}));
    EXPECT_EQ(view.slotCount, 2);
    EXPECT_FALSE(IsWindowVisible(editor.window));
}

TEST_F(PreferencesTest, DeleteSelectsThePreviousRowOrTheFirst) {
    for (const char* name : {"r0", "r1", "r2", "r3", "r4", "r5", "r6"}) Add(name);
    preferences.Show(SW_SHOW);
    MessageBoxRecorder recorder;

    SelectInList(0);
    Press(IDC_DELETE_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"r1", "r2", "r3", "r4", "r5", "r6"}));
    EXPECT_EQ(ListNames(), PanelNames());
    EXPECT_EQ(ListSelection(), 0);
    EXPECT_EQ(view.slots[0], nullptr);
    EXPECT_EQ(view.slotCount, 7);

    SelectInList(5);
    Press(IDC_DELETE_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(ListNames(), PanelNames());
    EXPECT_EQ(ListSelection(), 4);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PreferencesTest, DeletingTheEditedRecordReleasesItFromTheEditor) {
    Add("Alpha");
    StreamRecord* b = Add("Beta");
    preferences.Show(SW_SHOW);
    SelectInList(1);
    Press(IDC_EDIT_BUTTON);
    ASSERT_EQ(editor.currentRecord, b);
    Press(IDC_DELETE_BUTTON);
    EXPECT_EQ(editor.currentRecord, nullptr);
    EXPECT_EQ(ListNames(), (Names{"Alpha"}));
    EXPECT_EQ(ListSelection(), 0);
}

TEST_F(PreferencesTest, MoveUpAndDownSwapWithTheNeighbourAndStopAtTheEnds) {
    for (const char* name : {"A", "B", "C", "D", "E"}) Add(name);
    preferences.Show(SW_SHOW);
    MessageBoxRecorder recorder;

    SelectInList(3);
    Press(IDC_MOVE_UP_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"A", "B", "D", "C", "E"}));
    EXPECT_EQ(ListNames(), PanelNames());
    EXPECT_EQ(ListSelection(), 2);
    EXPECT_EQ(view.ViewSelectedRow(), LB_ERR);
    EXPECT_STREQ(view.slots[2]->name, "D");
    EXPECT_EQ(view.slots[2]->index, 2);

    Press(IDC_MOVE_DOWN_BUTTON);
    Press(IDC_MOVE_DOWN_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"A", "B", "C", "E", "D"}));
    EXPECT_EQ(ListSelection(), 4);

    // The last row cannot go down, the first cannot go up: nothing changes.
    Press(IDC_MOVE_DOWN_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"A", "B", "C", "E", "D"}));
    EXPECT_EQ(ListSelection(), 4);
    SelectInList(0);
    Press(IDC_MOVE_UP_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"A", "B", "C", "E", "D"}));
    EXPECT_EQ(ListSelection(), 0);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PreferencesTest, AddEditAndDoubleClickOpenTheEditor) {
    Add("Alpha");
    StreamRecord* b = Add("Beta");
    preferences.Show(SW_SHOW);

    Press(IDC_ADD_BUTTON);
    EXPECT_TRUE(IsWindowVisible(editor.window));
    EXPECT_FALSE(editor.isEditing);
    EXPECT_EQ(editor.currentRecord, nullptr);
    ShowWindow(editor.window, SW_HIDE);

    SelectInList(1);
    Press(IDC_EDIT_BUTTON);
    EXPECT_TRUE(IsWindowVisible(editor.window));
    EXPECT_TRUE(editor.isEditing);
    EXPECT_EQ(editor.currentRecord, b);
    ShowWindow(editor.window, SW_HIDE);

    editor.BeginEdit(nullptr);
    SelectInList(0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_LIST, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PREFERENCES_LIST)));
    EXPECT_TRUE(IsWindowVisible(editor.window));
    EXPECT_EQ(editor.currentRecord, view.slots[0]);

    // Other notices of the list and the option buttons are left to the dialog.
    EXPECT_EQ(preferences.OnCommand(LBN_SELCHANGE, MAKEWPARAM(IDC_PREFERENCES_LIST, LBN_SELCHANGE), nullptr), 0);
    EXPECT_EQ(preferences.OnCommand(BN_CLICKED, IDC_PLAY_AT_ONCE, nullptr), 0);
    EXPECT_EQ(preferences.OnCommand(EN_CHANGE, MAKEWPARAM(IDC_LIST_NAME, EN_CHANGE), nullptr), 0);
}

// A search made in the panel while the dialog is open leaves 1013 older than
// the view: the commands act on the record that 1013 shows, wherever the view
// has it, and on nothing when the view no longer has it.
TEST_F(PreferencesTest, StaleRowsActOnTheRecordShownOrOnlyRefresh) {
    Add("A");
    Add("B tv", kStreamKindTv);
    Add("C");
    Add("D tv", kStreamKindTv);
    Add("E");
    preferences.Show(SW_SHOW);
    auto recorder = std::make_unique<MessageBoxRecorder>();

    view.ApplyFilter(1, 0, "");   // the panel now shows A, C, E
    SelectInList(3);              // "D tv", hidden by the search
    Press(IDC_DELETE_BUTTON);
    EXPECT_EQ(view.slotCount, 5);
    for (int i = 0; i < 5; ++i) EXPECT_NE(view.slots[i], nullptr) << i;
    EXPECT_EQ(ListNames(), (Names{"A", "C", "E"}));

    // Row 4 of the old copy lies beyond the view's end.
    view.ApplyFilter(1, 1, "");
    preferences.Show(SW_SHOW);
    view.ApplyFilter(1, 0, "");
    SelectInList(4);              // "E", row 2 of the view
    Press(IDC_MOVE_DOWN_BUTTON);       // the view's last row: nothing
    EXPECT_EQ(PanelNames(), (Names{"A", "C", "E"}));
    SelectInList(4);
    Press(IDC_MOVE_UP_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"A", "E", "C"}));
    EXPECT_EQ(ListNames(), PanelNames());
    EXPECT_EQ(ListSelection(), 1);

    // The copy shows all five again, the view only radios: "E" is deleted,
    // not "C" that the view has at the same row.
    view.ApplyFilter(1, 1, "");
    preferences.Show(SW_SHOW);
    EXPECT_EQ(ListNames(), (Names{"A", "B tv", "E", "D tv", "C"}));
    view.ApplyFilter(1, 0, "");
    SelectInList(2);
    Press(IDC_DELETE_BUTTON);
    EXPECT_EQ(PanelNames(), (Names{"A", "C"}));
    EXPECT_EQ(ListNames(), PanelNames());

    EXPECT_TRUE(recorder->boxes.empty()) << ::testing::PrintToString(recorder->Texts());
    // The editor is a dialog too: recording would take it for a message box.
    recorder.reset();

    // Editing needs only that the catalogue holds the record.
    view.ApplyFilter(1, 1, "");
    preferences.Show(SW_SHOW);
    view.ApplyFilter(1, 0, "");
    SelectInList(1);   // "B tv"
    Press(IDC_EDIT_BUTTON);
    EXPECT_STREQ(editor.currentRecord ? editor.currentRecord->name : "", "B tv");
}

TEST_F(PreferencesTest, EnterAndEscapeLeaveTheDialogOpen) {
    Add("Alpha");
    preferences.Show(SW_SHOW);
    SetListNameEdit("Changed");
    MessageBoxRecorder recorder;
    Press(IDOK);
    Press(IDCANCEL);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(preferences.OnCommand(BN_CLICKED, IDOK, nullptr), 1);
    EXPECT_EQ(preferences.OnCommand(BN_CLICKED, IDCANCEL, nullptr), 1);
    // A real Escape key through the dialog manager.
    HWND edit = GetDlgItem(dialog, IDC_LIST_NAME);
    SetFocus(edit);
    MSG escape = {edit, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    IsDialogMessageA(dialog, &escape);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_STREQ(view.listName, "");
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PreferencesTest, ClosingAppliesTheListNameAndShowsThePanelList) {
    preferences.Show(SW_SHOW);
    SetListNameEdit("0123456789012345678901234567890123456789");   // 40 characters
    ShowWindow(list, SW_HIDE);
    view.shows.clear();
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);   // the caption's close box
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_TRUE(::IsWindow(dialog));
    EXPECT_STREQ(view.listName, "0123456789012345678901234567890");
    EXPECT_EQ(view.shows, std::vector<bool>{true});

    // "Sauvegarder et Fermer" also hides the panel list and shows it again.
    preferences.Show(SW_SHOW);
    SetListNameEdit("Rock");
    view.shows.clear();
    Press(IDC_SAVE_AND_CLOSE);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_STREQ(view.listName, "Rock");
    EXPECT_EQ(view.shows, (std::vector<bool>{false, true}));
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(ListNameEdit(), "Rock");
}

}  // namespace
