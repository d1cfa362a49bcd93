// The dialog that adds a catalogue entry or edits one.
#pragma once

#include "catalogue/portable/logo_scaling.h"
#include "catalogue/portable/record_release.h"
#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "ui/framework/dialog.h"

class CPref;
class CListView;

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
    // The picture chosen in this editing, scaled but not yet keyed; null without one.
    ScaledPicture* pickedPicture;

private:
    void ForgetPickedPicture();
    // Makes the logo again from the picked picture with the key colour in
    // the box (the default one when the box holds none and it is not `typed`).
    void KeyPickedPicture(bool typed);
    void Save();
    void ChooseLogoFile();
    void DiscardNewRecord();
    void Refuse(const char* text) const;
};

