// The preferences dialog: catalogue editing, list files, the list name and
// the plugin's options, which live in this dialog's controls.
#pragma once

#include "resources/resource_ids.h"
#include "ui/framework/dialog.h"

class CDirectory;
class CStream;
class CListView;

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
    CDirectory* directory;

private:
    // "Importer" and "Fusionner": a list file or a playlist read into the
    // catalogue, then the result told.
    struct ListReading;
    static const ListReading kImport;
    static const ListReading kMerge;
    void ReadListInto(const ListReading& reading, const char* path);
};
