// Construction of the modeless dialog objects that the panel owns, and the
// behaviour they have before their own files give them more.
#include <cstring>

#include "catalogue/preferences_dialog.h"
#include "catalogue/readme_window.h"
#include "catalogue/stream_editor.h"

CPref::CPref() : editor(nullptr), catalogue(nullptr) { templateId = kPreferencesTemplate; }
CPref::~CPref() = default;

CInfo::CInfo() { templateId = kReadmeTemplate; }
CInfo::~CInfo() = default;

CStream::CStream()
    : preferences(nullptr), catalogue(nullptr), isEditing(false), currentRecord(nullptr),
      logoPixels(new unsigned char[kLogoBytes]()) {
    templateId = kStreamEditorTemplate;
    memset(&logoInfo, 0, sizeof logoInfo);
    logoInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    logoInfo.bmiHeader.biWidth = kLogoSide;
    logoInfo.bmiHeader.biHeight = kLogoSide;
    logoInfo.bmiHeader.biPlanes = 1;
    logoInfo.bmiHeader.biBitCount = 24;
    logoInfo.bmiHeader.biCompression = BI_RGB;
}

