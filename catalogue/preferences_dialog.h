// The preferences dialog: catalogue editing, list files, the list name and
// the plugin's options, which live in this dialog's controls.
#pragma once

#include "catalogue/portable/stream_states.h"
#include "host/stream_check.h"
#include "resources/resource_ids.h"
#include "storage/portable/replacing_file_write.h"
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
    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) override;

    // The check of the streams: the last results, kept beside the list.
    // Read at start-up; written, when new results came, as a check ends or
    // stops and at quit (`quitting` also forgets a check still running).
    void ReadCheckStates();
    void EndCheck(bool quitting);
    StreamStates checkStates;

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

    void StartCheck();
    void TakeCheckResults();
    void ShowCheckProgress();
    // "Retirer les flux hors ligne": the silent stations set aside in a list file of their own.
    void RemoveSilentStations();
    // The side file's path, or false when it does not fit.
    bool CheckStatesPath(const char* suffix, char (&path)[kPathSize]) const;

    StreamCheck check;
    int checkTotal = 0;
    int checkAlive = 0;
    int checkSilent = 0;
    int checkUnverifiable = 0;
    bool checkStatesChanged = false;   // results not yet in the side file
};
