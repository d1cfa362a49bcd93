// The dialog that adds a catalogue entry or edits one.
#pragma once

#include "catalogue/record_release.h"
#include "ui/framework/wnd.h"

class CPref;
class CListView;
struct StreamRecord;

constexpr int kStreamEditorTemplate = 109;

class CStream : public CDialog {
public:
    CStream();

    CPref* preferences;
    CListView* catalogue;
};
