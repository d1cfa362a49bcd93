// The dialog that adds a catalogue entry or edits one.
#pragma once

#include "catalogue/record_release.h"
#include "catalogue/stream_record.h"
#include "ui/framework/wnd.h"

class CPref;
class CListView;

constexpr int kStreamEditorTemplate = 109;
constexpr int kDefaultLogoBitmap = 106;

class CStream : public CDialog, public RecordReleaseListener {
public:
    CStream();
    ~CStream() override;

    // Prepares the dialog for `record`, or for a new entry when it is null.
    int BeginEdit(StreamRecord* record);
    // `source` is a bitmap resource number of the plugin module
    // (MAKEINTRESOURCE) or a file path with LR_LOADFROMFILE in `flags`.
    int LoadLogo(const char* source, UINT flags);

    int OnClose() override;
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;
    int OnPaint(WPARAM first) override;

    // The catalogue is releasing a record; drop it if it is the one edited.
    void OnRecordReleased(const StreamRecord* record) override;

    CPref* preferences;
    CListView* catalogue;
    bool isEditing;
    StreamRecord* currentRecord;
    BITMAPINFO logoInfo;
    unsigned char* logoPixels;
};
