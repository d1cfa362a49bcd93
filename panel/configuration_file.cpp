// Reading and writing gen_ondaria.ini for the panel: the file's settings go
// to the panel's fields and to the preferences dialog's controls, which hold
// the options.
#include <windows.h>

#include <cstring>

#include "catalogue/portable/text.h"
#include "host/plugin.h"
#include "panel/portable/settings_file.h"
#include "ui/framework/modal_loops.h"

namespace {

// Creates every missing level of `folder`; failures are ignored, since the
// folder normally exists and a real problem shows when the file is opened.
void CreateFolderLevels(const char* folder) {
    size_t length = BoundedLength(folder, kSettingsTextSize);
    if (length >= kSettingsTextSize) return;
    char level[kSettingsTextSize];
    for (size_t i = 1; i <= length; ++i) {
        bool end = i == length;
        if (!end && folder[i] != '\\' && folder[i] != '/') continue;
        if (folder[i - 1] == '\\' || folder[i - 1] == '/') continue;   // doubled separator
        memcpy(level, folder, i);
        level[i] = '\0';
        CreateDirectoryA(level, nullptr);
    }
}

int CheckedAsNumber(HWND dialog, int id) {
    return dialog && IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

}  // namespace

int CPlugin::ReadConfiguration(const char* fileName) {
    if (pluginFolder == nullptr || fileName == nullptr) return 0;
    CreateFolderLevels(pluginFolder);
    char path[kSettingsTextSize];
    if (!ComposeSettingsPath(pluginFolder, fileName, path)) return 0;

    SettingsRead values;
    if (!ReadSettingsFile(path, values)) return 0;

    if (values.hasVisible) showState = values.visible;
    if (values.hasLeft) frameRect.left = values.left;
    if (values.hasTop) frameRect.top = values.top;
    if (values.hasRight) frameRect.right = values.right;
    if (values.hasBottom) frameRect.bottom = values.bottom;

    // Before the preferences dialog exists only the catalogue hears the name
    // and the options have nowhere to go; start-up reads the file again later.
    HWND dialog = preferences.SafeHandle();
    if (values.hasListName) {
        view.SetListName(values.listName);
        if (dialog) ::SetDlgItemTextA(dialog, IDC_LIST_NAME, view.listName);
    }
    if (dialog) {
        if (values.checkPlayAtOnce) ::CheckDlgButton(dialog, IDC_PLAY_AT_ONCE, BST_CHECKED);
        if (values.checkEnqueue) ::CheckDlgButton(dialog, IDC_ENQUEUE, BST_CHECKED);
        if (values.checkRedIcons) ::CheckDlgButton(dialog, IDC_RED_ICONS, BST_CHECKED);
        if (values.checkOpenWeb) ::CheckDlgButton(dialog, IDC_OPEN_WEB, BST_CHECKED);
    }
    return 1;
}

int CPlugin::WriteConfiguration(const char* fileName, int visible) {
    HWND dialog = preferences.SafeHandle();
    char listNameCopy[kListNameSize];
    memcpy(listNameCopy, view.listName, sizeof listNameCopy);
    listNameCopy[kListNameSize - 1] = '\0';

    SettingsToWrite values;
    values.version = kVersionText;
    values.visible = visible;
    values.top = frameRect.top;
    values.left = frameRect.left;
    values.bottom = frameRect.bottom;
    values.right = frameRect.right;
    values.listName = listNameCopy;
    values.playAtOnce = CheckedAsNumber(dialog, IDC_PLAY_AT_ONCE);
    values.enqueue = CheckedAsNumber(dialog, IDC_ENQUEUE);
    values.redIcons = CheckedAsNumber(dialog, IDC_RED_ICONS);
    values.openWeb = CheckedAsNumber(dialog, IDC_OPEN_WEB);

    char path[kSettingsTextSize];
    bool written = pluginFolder != nullptr && fileName != nullptr &&
                   ComposeSettingsPath(pluginFolder, fileName, path) &&
                   WriteSettingsFile(path, values);
    if (!written) {
        ShowPluginMessage(SafeHandle(), "Sauvegarde de la configuration impossible !", "Ondaria",
                    MB_ICONWARNING);
        return 0;
    }
    return 1;
}
