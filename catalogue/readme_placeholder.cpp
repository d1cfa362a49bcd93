// Placeholder until the readme window's own behaviour lands: the framework's.
#include "catalogue/readme_window.h"

int CInfo::LoadReadme(const char*, const char*) { return 0; }
int CInfo::OnClose() { return CDialog::OnClose(); }
int CInfo::OnCommand(int code, WPARAM arg, CWnd* control) { return CDialog::OnCommand(code, arg, control); }
