#include "ui/framework/dialog.h"
#include "ui/framework/message_dispatch.h"

CDialog::CDialog() : templateId(0) {}

CDialog::CDialog(HWND hwnd) : CWnd(hwnd), templateId(0) {}

int CDialog::Create(int templateNumber, CWnd* owner, DLGPROC procedure) {
    templateId = templateNumber;
    parentWindow = owner ? owner->window : nullptr;
    instance = owner ? owner->instance : nullptr;
    window = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateNumber), parentWindow, procedure,
                                reinterpret_cast<LPARAM>(this));
    return window ? 1 : 0;
}

INT_PTR CDialog::DialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_INITDIALOG && second != 0) {
        CDialog* bound = reinterpret_cast<CDialog*>(second);
        g_dialogBindings.Set(hwnd, bound);
        bound->window = hwnd;
    }
    CDialog* object = static_cast<CDialog*>(g_dialogBindings.Find(hwnd));
    if (object == nullptr) return 0;

    if (message == WM_NCDESTROY) {
        g_dialogBindings.Remove(hwnd);
        return object->previousProc ? CallWindowProcA(object->previousProc, hwnd, message, first, second) : 0;
    }

    DispatchResult r = DispatchMessageTo(*object, DispatchKind::Dialog, message, first, second);
    if (!r.dispatched) return 0;
    if (message == WM_NOTIFY) {
        if (!r.result) return 0;
        SetWindowLongA(hwnd, DWL_MSGRESULT, static_cast<LONG>(r.notifyResult));
        return 1;
    }
    return r.result;
}

INT_PTR CALLBACK CDialog::ModelessDialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_INITDIALOG) SetWindowLongA(hwnd, GWL_USERDATA, static_cast<LONG>(second));
    CDialog* object = reinterpret_cast<CDialog*>(GetWindowLongA(hwnd, GWL_USERDATA));
    return object ? object->DialogProc(hwnd, message, first, second) : 0;
}
