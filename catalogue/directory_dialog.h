// "Annuaire des radios": the public radio directory searched from the
// plugin. Searches, logos and click counts run on the plugin's web
// workers; their answers come back to this dialog by message.
#pragma once

#include <windows.h>

#include "catalogue/portable/directory_request.h"
#include "catalogue/portable/directory_results.h"
#include "catalogue/portable/stream_record.h"
#include "ui/framework/dialog.h"

class CPlugin;
struct WebAnswer;

class CDirectory : public CDialog {
public:
    CDirectory();

    // Made at its first use and kept until quit; shows it.
    void Open();
    // At quit: what is in flight is forgotten and the window goes.
    void Close();

    int OnInitDialog() override;
    int OnClose() override;
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;
    int OnNotify(WPARAM controlId, NMHDR* header, LRESULT* result) override;
    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) override;

    // Set at start-up, before the window can be made: everything the window does may use it.
    CPlugin* plugin;

private:
    void Search(bool nextPage);
    void TakeAnswers();
    void ShowSearchAnswer(const WebAnswer& answer);
    void ApplyLogo(const WebAnswer& answer);
    void Play(int row);
    void AddSelected();
    void ShowRows();
    void SetStatus(const char* text);
    HWND Results() const;

    DirectoryPage page;
    DirectorySearch search;   // the one shown, for "Suite"
    DirectorySearch pending;  // the one asked, shown when its answer comes
    Text answeredBy;          // the server that answered it, told of what is played
    StreamRecord played;      // the station handed to the host
};
