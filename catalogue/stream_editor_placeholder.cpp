// Placeholder until the stream editor's own behaviour lands: the framework's.
#include "catalogue/stream_editor.h"

int CStream::BeginEdit(StreamRecord* record) {
    isEditing = record != nullptr;
    currentRecord = record;
    return 1;
}
int CStream::LoadLogo(const char*, UINT) { return 1; }
int CStream::OnClose() { return CDialog::OnClose(); }
int CStream::OnCommand(int code, WPARAM arg, CWnd* control) { return CDialog::OnCommand(code, arg, control); }
int CStream::OnPaint(WPARAM first) { return CDialog::OnPaint(first); }
void CStream::OnRecordReleased(const StreamRecord* record) {
    if (record == currentRecord) currentRecord = nullptr;
}
