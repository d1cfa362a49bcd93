// Dialogs in the window class tree: a CWnd made from a dialog template,
// whose dialog procedure finds its object through a window property.
#pragma once

#include "ui/framework/wnd.h"

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(HWND hwnd);

    virtual INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second);

    int Create(int templateNumber, CWnd* owner, DLGPROC procedure);

    static INT_PTR CALLBACK ModelessDialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second);

    int templateId;
};
