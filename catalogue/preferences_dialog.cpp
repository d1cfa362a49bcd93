// The preferences dialog: list 1013 mirrors the panel's view, the buttons
// edit the catalogue and its list files.
#include <windows.h>

#include <cstring>

#include "catalogue/directory_dialog.h"
#include "catalogue/list_view.h"
#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/text.h"
#include "catalogue/preferences_dialog.h"
#include "catalogue/stream_editor.h"
#include "ui/framework/file_dialogs.h"
#include "ui/framework/modal_loops.h"

namespace {

const char kNothingSelected[] = "Aucun élément n'est sélectionné !";
const char kErrorCaption[] = "Erreur Ondaria 2";

// Description and pattern pairs; the literal's own NUL ends the list with two.
const char kListFileFilter[] = "Radio/TV Files\0*.rtv\0All files\0*.*;\0";
const char kOpenFileFilter[] =
    "Radio/TV Files\0*.rtv\0Playlists (*.m3u;*.m3u8;*.pls;*.xspf)\0*.m3u;*.m3u8;*.pls;*.xspf\0All files\0*.*;\0";
const char kNoStation[] = "Aucun flux lisible dans ce fichier.";

enum class FileDialog { Open, Save };

// The system's open or save dialog; false when the user cancels.
bool ChooseListFile(HWND owner, FileDialog kind, char (&path)[kPathSize]) {
    memset(path, 0, sizeof path);
    OPENFILENAMEA request;
    memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = kind == FileDialog::Open ? kOpenFileFilter : kListFileFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.Flags = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
    return kind == FileDialog::Open ? AskOpenFileName(request) : AskSaveFileName(request);
}

// The panel row that shows `record`: `preferred` when it does (a search on
// several words may show a record on several rows), else the first; -1 when
// the view no longer shows it. Only pointers are compared: a record that the
// view does not hold is never read.
int PanelRowOf(const CListView& view, const StreamRecord* record, int preferred) {
    if (record == nullptr) return -1;
    if (view.ViewRecordAt(preferred) == record) return preferred;
    const int n = view.ViewRowCount();
    for (int row = 0; row < n; ++row) {
        if (view.ViewRecordAt(row) == record) return row;
    }
    return -1;
}

bool CatalogueHolds(const CListView& view, const StreamRecord* record) {
    if (record == nullptr) return false;
    for (int slot = 0; slot < view.slotCount && slot < kMaxSlots; ++slot) {
        if (view.slots[slot] == record) return true;
    }
    return false;
}

// The row selected in 1013 with the record stored on it, or false (after
// telling the user) when there is none.
bool SelectedEntry(const CPref& dialog, int* row, StreamRecord** record) {
    HWND list = dialog.window ? ::GetDlgItem(dialog.window, IDC_PREFERENCES_LIST) : nullptr;
    LRESULT count = list ? ::SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
    LRESULT selected = list ? ::SendMessageA(list, LB_GETCURSEL, 0, 0) : LB_ERR;
    if (count <= 0 || count == LB_ERR || selected < 0 || selected >= count) {
        ShowPluginMessage(dialog.window, kNothingSelected, kErrorCaption, MB_ICONWARNING);
        return false;
    }
    *row = static_cast<int>(selected);
    *record = reinterpret_cast<StreamRecord*>(::SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
    return true;
}

}  // namespace

CPref::CPref() : editor(nullptr), catalogue(nullptr), directory(nullptr) { templateId = IDD_PREFERENCES; }
CPref::~CPref() = default;

int CPref::Show(int showCommand) {
    HWND list = window ? ::GetDlgItem(window, IDC_PREFERENCES_LIST) : nullptr;
    if (list) {
        // One repaint for the whole refill.
        ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        const int n = catalogue ? catalogue->ViewRowCount() : 0;
        for (int row = 0; row < n; ++row) {
            StreamRecord* record = catalogue->GetStreamAt(row);
            if (record == nullptr) continue;
            LRESULT added = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record->name));
            if (added == LB_ERR || added == LB_ERRSPACE) continue;
            ::SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(added), reinterpret_cast<LPARAM>(record));
        }
        const int selected = catalogue ? catalogue->ViewSelectedRow() : LB_ERR;
        if (selected >= 0 && selected < n) ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
    }
    return CDialog::Show(showCommand);
}

int CPref::OnClose() {
    // Read whole, so that blanks in front do not push the end of the name out.
    char name[kTextFieldSize] = {0};
    if (window) ::GetDlgItemTextA(window, IDC_LIST_NAME, name, sizeof name);
    if (catalogue) {
        catalogue->SetListName(name);
        if (window) ::SetDlgItemTextA(window, IDC_LIST_NAME, catalogue->listName);
    }
    Show(SW_HIDE);
    if (catalogue) catalogue->Show(SW_SHOW);
    return 1;
}

// What "Importer" and "Fusionner" do and say.
struct CPref::ListReading {
    bool replaces;
    const char* success;
    const char* failure;
    const char* caption;
};
const CPref::ListReading CPref::kImport = {true, "Import réussi !", "Echec de l'import !", "Résultat de l'import"};
const CPref::ListReading CPref::kMerge = {false, "Fusion réussie !", "Echec de la fusion !", "Résultat de la fusion"};

void CPref::ReadListInto(const ListReading& reading, const char* path) {
    Text text;
    PlaylistTally tally;
    if (IsPlaylistFormat(CListView::FileFormat(path))) {
        int read = !catalogue ? 0
                   : reading.replaces ? catalogue->ImportPlaylist(path, tally)
                                      : catalogue->MergePlaylist(path, tally);
        text = read ? Text(reading.success) + "\n" + DescribeTally(tally)
                    : Text(reading.failure) + "\n" + (tally.outOfMemory ? kPlaylistOutOfMemory : kNoStation);
    } else if (reading.replaces) {
        text = catalogue && catalogue->ImportListFile(path) ? reading.success : reading.failure;
    } else {
        // A merged list, like a merged playlist, skips the stations held already.
        text = catalogue && catalogue->MergeListFile(path, tally, false) ? Text(reading.success) + "\n" + DescribeTally(tally)
                                                                          : Text(reading.failure);
    }
    Show(SW_SHOW);
    ShowPluginMessage(window, text.c_str(), reading.caption, MB_ICONWARNING);
}

int CPref::OnCommand(int notifyCode, WPARAM commandArg, CWnd*) {
    const int id = LOWORD(commandArg);
    HWND list = window ? ::GetDlgItem(window, IDC_PREFERENCES_LIST) : nullptr;
    auto selectInList = [list](int row) {
        if (list) ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    };
    auto repaintPanelList = [this]() {
        if (catalogue && catalogue->window) ::InvalidateRect(catalogue->window, nullptr, TRUE);
    };
    int row = 0;
    StreamRecord* record = nullptr;
    char path[kPathSize];

    switch (id) {
    case IDOK:
    case IDCANCEL:
        return 1;

    case IDC_ADD_BUTTON:
        if (editor) {
            editor->BeginEdit(nullptr);
            editor->Show(SW_SHOW);
        }
        return 1;

    case IDC_PREFERENCES_LIST:
        if (notifyCode != LBN_DBLCLK) return 0;
        [[fallthrough]];
    case IDC_EDIT_BUTTON:
        if (!SelectedEntry(*this, &row, &record)) return 1;
        // A record the catalogue no longer holds cannot be edited: the list was stale.
        if (!catalogue || !CatalogueHolds(*catalogue, record)) {
            Show(SW_SHOW);
            return 1;
        }
        if (editor) {
            editor->BeginEdit(record);
            editor->Show(SW_SHOW);
        }
        return 1;

    case IDC_DELETE_BUTTON: {
        if (!SelectedEntry(*this, &row, &record)) return 1;
        // 1013 can be older than the panel's view (a search made since it
        // was filled): the record shown is the one deleted, found by identity;
        // gone from the view, the list is only brought up to date.
        int panelRow = catalogue ? PanelRowOf(*catalogue, record, row) : -1;
        if (panelRow < 0) {
            Show(SW_SHOW);
            return 1;
        }
        catalogue->DeleteStream(panelRow);
        Show(SW_SHOW);
        selectInList(panelRow > 0 ? panelRow - 1 : 0);
        return 1;
    }

    case IDC_MOVE_UP_BUTTON:
    case IDC_MOVE_DOWN_BUTTON: {
        if (!SelectedEntry(*this, &row, &record)) return 1;
        int panelRow = catalogue ? PanelRowOf(*catalogue, record, row) : -1;
        if (panelRow < 0) {
            Show(SW_SHOW);
            return 1;
        }
        const bool up = id == IDC_MOVE_UP_BUTTON;
        if (up && panelRow == 0) return 1;
        if (!up && panelRow + 1 >= catalogue->ViewRowCount()) return 1;
        const int other = up ? panelRow - 1 : panelRow + 1;
        catalogue->SwapRows(up ? other : panelRow, up ? panelRow : other);
        repaintPanelList();
        Show(SW_SHOW);
        selectInList(other);
        return 1;
    }

    case IDC_IMPORT_BUTTON:
    case IDC_MERGE_BUTTON:
        if (!ChooseListFile(window, FileDialog::Open, path)) return 1;
        ReadListInto(id == IDC_IMPORT_BUTTON ? kImport : kMerge, path);
        return 1;

    case IDC_SAVE_BUTTON:
        if (!ChooseListFile(window, FileDialog::Save, path)) {
            ShowPluginMessage(window, "Sauvegarde abandonnée !", "Résultat de la sauvegarde", MB_ICONWARNING);
        } else if (catalogue && catalogue->SaveListFile(path, 0)) {
            ShowPluginMessage(window, "Sauvegarde réussie !", "Résultat de la sauvegarde", MB_OK);
        } else {
            ShowPluginMessage(window, "Echec de la sauvegarde !", "Résultat de la sauvegarde", MB_ICONWARNING);
        }
        return 1;

    case IDC_DIRECTORY_BUTTON:
        if (directory) directory->Open();
        return 1;

    case IDC_CHECK_STREAMS:
        if (check.Running()) EndCheck(false);
        else StartCheck();
        return 1;

    case IDC_REMOVE_SILENT:
        RemoveSilentStations();
        return 1;

    case IDC_SAVE_AND_CLOSE:
        // Hidden and shown again so that the panel list is repainted.
        if (catalogue) {
            catalogue->Show(SW_HIDE);
            catalogue->Show(SW_SHOW);
        }
        OnClose();
        return 1;

    default:
        return 0;
    }
}
