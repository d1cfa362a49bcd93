// Placeholder until the preferences dialog's own behaviour lands: the framework's.
#include "catalogue/preferences_dialog.h"

int CPref::Show(int showCommand) { return CDialog::Show(showCommand); }
int CPref::OnClose() { return CDialog::OnClose(); }
int CPref::OnCommand(int code, WPARAM arg, CWnd* control) { return CDialog::OnCommand(code, arg, control); }
