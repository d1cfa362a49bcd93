// The dialog that adds a catalogue entry or edits one.
#pragma once

#include "catalogue/record_release.h"
#include "catalogue/stream_record.h"
#include "ui/framework/wnd.h"

class CPref;
class CListView;

constexpr int kStreamEditorTemplate = 109;
constexpr int kDefaultLogoBitmap = 106;

enum StreamEditorControl {
    kEditorSaveButton = 1026,
    kEditorCancelButton = 1027,
    kEditorNameEdit = 1028,
    kEditorAddressEdit = 1029,
    kEditorRadioButton = 1030,
    kEditorTvButton = 1031,
    kEditorWebsiteEdit = 1032,
    kEditorPodcastEdit = 1033,
    kEditorPlaylistEdit = 1034,
    kEditorSloganEdit = 1035,
    kEditorKeywordsEdit = 1036,
    kEditorFormatEdit = 1037,
    kEditorQualityEdit = 1038,
    kEditorChangeLogoButton = 1039,
    kEditorColourEdit = 1040,
    kEditorLogoMarker = 1042,
};

class CStream : public CDialog, public RecordReleaseListener {
public:
    CStream();
    ~CStream() override;

    // Prepares the dialog for `record`, or for a new entry when it is null.
    int BeginEdit(StreamRecord* record);
    // `source` is a bitmap resource number of the plugin module
    // (MAKEINTRESOURCE) or a file path with LR_LOADFROMFILE in `flags`.
    // Returns 0, leaving the logo as it was, when no bitmap could be read.
    int LoadLogo(const char* source, UINT flags);

    int OnClose() override;
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;
    int OnPaint(WPARAM first) override;

    // The catalogue is releasing a record; drop it if it is the one edited.
    void OnRecordReleased(const StreamRecord* record) override;

    CPref* preferences;
    CListView* catalogue;
    bool isEditing;
    // While isEditing is false, a record here is the editor's own (made by a
    // refused save) and has not been handed to the catalogue.
    StreamRecord* currentRecord;
    BITMAPINFO logoInfo;
    unsigned char* logoPixels;

private:
    void Save();
    void ChooseLogoFile();
    void DiscardNewRecord();
    void Refuse(const char* text) const;
};

