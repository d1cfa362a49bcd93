// The preferences dialog: catalogue editing, list files, the list name and
// the plugin's options, which live in this dialog's controls.
#pragma once

#include "ui/framework/wnd.h"

class CStream;
class CListView;

constexpr int kPreferencesTemplate = 108;

enum PreferencesControl {
    kListNameEdit = 1012,
    kPreferencesList = 1013,
    kAddButton = 1014,
    kDeleteButton = 1015,
    kEditButton = 1016,
    kMoveUpButton = 1017,
    kMoveDownButton = 1018,
    kImportButton = 1019,
    kMergeButton = 1020,
    kSaveButton = 1021,
    kPlayAtOnceRadio = 1022,
    kEnqueueRadio = 1023,
    kSaveAndCloseButton = 1024,
    kRedIconsCheck = 1044,
    kOpenWebCheck = 1045,
};

class CPref : public CDialog {
public:
    CPref();
    ~CPref() override;

    // Refills list 1013 from the catalogue's view, then shows or hides.
    int Show(int showCommand) override;
    int OnClose() override;
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;

    CStream* editor;
    CListView* catalogue;
};
