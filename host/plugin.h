// The panel object: root of ownership of every window, buffer and handle of
// the plugin, and the panel dialog itself.
#pragma once

#include <windows.h>

#include "catalogue/directory_dialog.h"
#include "catalogue/list_view.h"
#include "catalogue/portable/search_modes.h"
#include "catalogue/preferences_dialog.h"
#include "catalogue/readme_window.h"
#include "catalogue/stream_editor.h"
#include "host/host_wrappers.h"
#include "host/web_workers.h"
#include "resources/resource_ids.h"
#include "ui/framework/dialog.h"

struct IWebBrowser2;

extern const char kConfigurationFile[];   // "gen_ondaria.ini"
extern const char kVersionText[];         // "2b"


class CPlugin;

// The panel's search box: Down moves on to the list's first row, so that
// Enter then plays it without the mouse.
class CSearchBox : public CWnd {
public:
    CSearchBox() : owner(nullptr) {}
    int OnKeyDown(WPARAM virtualKey, int keyDataLow, int keyDataHigh) override;
    CPlugin* owner;
};

class CPlugin : public CDialog {
public:
    CPlugin();
    ~CPlugin() override;

    int Start(HWND hostWindow, HINSTANCE module);
    int FinishStart();
    int Teardown();

    int Show(int showCommand) override;
    int OnClose() override;
    int OnDestroy() override;
    int OnWindowPosChanged(WINDOWPOS* position) override;
    int OnInitDialog() override;
    int OnSize(WPARAM sizeType, int width, int height) override;
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;
    int OnDisplayChange(WPARAM bitsPerPixel, int width, int height) override;
    int OnPaint(WPARAM first) override;
    int OnSetFocus(WPARAM first) override;
    int OnNotify(WPARAM controlId, NMHDR* header, LRESULT* result) override;
    int OnDrawItem(WPARAM controlId, DRAWITEMSTRUCT* item) override;
    // Files dropped on the panel or its list are merged one after another.
    int OnDropFiles(WPARAM drop, LPARAM second) override;

    // Binds the panel's list box as the catalogue list control, in the
    // skin's colours and with skinned scroll bars.
    void BindStreamList();

    int OnKeyDown(WPARAM virtualKey, int keyDataLow, int keyDataHigh) override;

    // Playing and searching.
    void PlaySelected();
    // Hands an address to the host as a double click does (play at once or
    // enqueue, as the options say), and opens `website` (may be null) when they ask for it.
    void PlayAddress(const char* address, const char* website);
    // What a double click (or Enter) on an entry does: play it, and open its
    // web site when the option says so.
    void PlaySelectedWithItsSite();
    void OnSearchModeChanged();
    void OnSearchEditNotice();
    void ApplySearch(int mode);
    int SearchMode();
    void OpenAddress(const char* address, int showCommand);
    // Selects the list's first row and gives the list the focus; false for an empty list.
    bool FocusFirstRow();

    int InsertMenuEntry(const char* text);
    int RemoveMenuEntry();

    int ReadConfiguration(const char* fileName);
    int WriteConfiguration(const char* fileName, int visible);

    // At quit: takes the plugin off the host's windows. Where another
    // procedure was installed over ours, ours stays in the chain, still
    // forwarding to the host's, and the library is then kept loaded for the
    // life of the process.
    void ReleaseHostWindows();
    bool LeftProcedureBehind() const { return procedureLeftBehind; }

    static INT_PTR CALLBACK PanelDialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second);

    char* pluginFolder;
    RECT frameRect;
    CWinamp winamp;
    CPEditor playlistEditor;
    CPluginParent frame;
    unsigned char* frameState;
    HWND frameWindow;
    int showState;
    HWND listBox;
    CSearchBox searchBox;
    CListView view;
    CInfo readme;
    CPref preferences;
    CStream editor;
    CDirectory directory;
    WebWorkers web;
    int menuCommand;
    HFONT badgeFont;
    HFONT sloganFont;
    HFONT titleFont;
    HMODULE atlModule;
    HWND browserHost;
    BITMAPINFO logoInfo;
    IWebBrowser2* browser;

private:
    int FailStart(HWND owner, const char* text);
    void StartBanner();
    void ReleaseBanner();
    void DetachHostWrapper(CWnd& wrapper, CPlugin*& owner);

    bool comInitialised;
    bool procedureLeftBehind;
};

extern CPlugin g_plugin;
extern bool isNtFamily;
