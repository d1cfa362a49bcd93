// Construction of the modeless dialog objects that the panel owns.
#include "catalogue/preferences_dialog.h"
#include "catalogue/readme_window.h"
#include "catalogue/stream_editor.h"

CPref::CPref() : editor(nullptr), catalogue(nullptr) { templateId = kPreferencesTemplate; }

CInfo::CInfo() { templateId = kReadmeTemplate; }

CStream::CStream() : preferences(nullptr), catalogue(nullptr) { templateId = kStreamEditorTemplate; }
