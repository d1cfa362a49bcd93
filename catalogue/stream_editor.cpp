// The stream editor: fills its controls from a record, validates and stores
// them back, keeps its own copy of the logo and previews it.
#include <cstring>
#include <new>

#include "catalogue/list_view.h"
#include "catalogue/logo_images.h"
#include "catalogue/portable/link_policy.h"
#include "catalogue/portable/text.h"
#include "catalogue/preferences_dialog.h"
#include "catalogue/stream_editor.h"
#include "ui/drawing/drawing_helpers.h"
#include "ui/framework/file_dialogs.h"
#include "ui/framework/modal_loops.h"

namespace {

const char kErrorCaption[] = "Erreur Ondaria 2";
const char kNewTitle[] = "Ajouter un Flux";
const char kEditTitle[] = "Editer un Flux";
constexpr COLORREF kDefaultKey = 0xFF00FF;   // magenta, as 0x00RRGGBB

// The nine edits and the record fields they show, in the order they are filled.
struct TextControl {
    int id;
    char (StreamRecord::*field)[kTextFieldSize];
};
const TextControl kTextControls[] = {
    {IDC_EDITOR_NAME, &StreamRecord::name},         {IDC_EDITOR_ADDRESS, &StreamRecord::address},
    {IDC_EDITOR_WEBSITE, &StreamRecord::website},   {IDC_EDITOR_PLAYLIST, &StreamRecord::playlist},
    {IDC_EDITOR_PODCAST, &StreamRecord::podcast},   {IDC_EDITOR_SLOGAN, &StreamRecord::slogan},
    {IDC_EDITOR_KEYWORDS, &StreamRecord::keywords}, {IDC_EDITOR_FORMAT, &StreamRecord::format},
    {IDC_EDITOR_QUALITY, &StreamRecord::quality},
};

void ReadControl(HWND dialog, int id, char (&text)[kTextFieldSize]) {
    text[0] = 0;
    if (dialog) GetDlgItemTextA(dialog, id, text, kTextFieldSize);
    text[kTextFieldSize - 1] = 0;
}

// Edit 1040 read as "%X"; false when it holds no hexadecimal number.
// Pictures the system decodes; description and pattern pairs, the literal's own NUL ending the list.
const char kPictureFilter[] =
    "Images (*.png;*.jpg;*.jpeg;*.gif;*.ico;*.bmp)\0*.png;*.jpg;*.jpeg;*.gif;*.ico;*.bmp\0All files\0*.*;\0";

bool ReadColour(HWND dialog, int32_t* colour) {
    char text[kTextFieldSize];
    ReadControl(dialog, IDC_EDITOR_COLOUR, text);
    uint32_t value = 0;
    if (!ParseHexNumber(text, value)) return false;
    *colour = static_cast<int32_t>(value);
    return true;
}

}  // namespace

CStream::CStream()
    : preferences(nullptr), catalogue(nullptr), isEditing(false), currentRecord(nullptr),
      logoInfo(LogoBitmapInfo()), logoPixels(new unsigned char[kLogoBytes]()), pickedPicture(nullptr) {
    templateId = IDD_STREAM_EDITOR;
}

CStream::~CStream() {
    DiscardNewRecord();
    ForgetPickedPicture();
    delete[] logoPixels;
}

void CStream::ForgetPickedPicture() {
    delete pickedPicture;
    pickedPicture = nullptr;
}

void CStream::KeyPickedPicture(bool typed) {
    int32_t key = kDefaultKey;
    // While a colour is being typed, only a readable one recolours.
    if (!pickedPicture || (!ReadColour(SafeHandle(), &key) && typed)) return;
    uint8_t logo[kLogoBytes];
    KeyScaledPicture(*pickedPicture, static_cast<uint32_t>(key), logo);
    memcpy(logoPixels, logo, kLogoBytes);
    if (SafeHandle()) InvalidateRect(window, nullptr, TRUE);
}

void CStream::DiscardNewRecord() {
    if (!isEditing) {
        delete currentRecord;
        currentRecord = nullptr;
    }
}

void CStream::Refuse(const char* text) const { ShowPluginMessage(SafeHandle(), text, kErrorCaption, MB_ICONWARNING); }

int CStream::BeginEdit(StreamRecord* record) {
    ForgetPickedPicture();
    DiscardNewRecord();
    COLORREF colour;
    if (record) {
        isEditing = true;
        currentRecord = record;
        if (window) CheckRadioButton(window, IDC_EDITOR_RADIO, IDC_EDITOR_TV,
                                     record->kind ? IDC_EDITOR_TV : IDC_EDITOR_RADIO);
        for (const TextControl& control : kTextControls) {
            char text[kTextFieldSize];
            const char (&field)[kTextFieldSize] = record->*control.field;
            size_t length = FieldLength(field);
            memcpy(text, field, length);
            text[length] = 0;
            if (window) SetDlgItemTextA(window, control.id, text);
        }
        memcpy(logoPixels, record->logo, kLogoBytes);
        colour = static_cast<COLORREF>(record->transparentColour);
    } else {
        isEditing = false;
        currentRecord = nullptr;
        if (window) {
            CheckRadioButton(window, IDC_EDITOR_RADIO, IDC_EDITOR_TV, IDC_EDITOR_RADIO);
            for (const TextControl& control : kTextControls) SetDlgItemTextA(window, control.id, "");
        }
        LoadLogo(MAKEINTRESOURCEA(IDB_DEFAULT_LOGO), LR_CREATEDIBSECTION);
        colour = kDefaultKey;
    }
    char text[16];
    FormatText(text, sizeof text, "%X", static_cast<unsigned int>(colour));
    if (window) SetDlgItemTextA(window, IDC_EDITOR_COLOUR, text);
    SetWindowTextA(isEditing ? kEditTitle : kNewTitle);
    return 1;
}

int CStream::LoadLogo(const char* source, UINT flags) {
    HINSTANCE module = nullptr;
    if (!(flags & LR_LOADFROMFILE)) module = instance ? instance : CodeModule();
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageA(module, source, IMAGE_BITMAP, kLogoSide, kLogoSide, flags));
    // Nothing is reported for a file that is no bitmap: the logo stays as it was.
    if (loaded == nullptr) return 0;

    int result = 0;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &logoInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    if (section && bits && from && to) {
        HGDIOBJ oldFrom = SelectObject(from, loaded);
        HGDIOBJ oldTo = SelectObject(to, section);
        if (BitBlt(to, 0, 0, kLogoSide, kLogoSide, from, 0, 0, SRCCOPY)) {
            GdiFlush();
            // 48 pixels of 3 bytes make 144-byte rows: no padding to strip.
            memcpy(logoPixels, bits, kLogoBytes);
            result = 1;
        }
        SelectObject(to, oldTo);
        SelectObject(from, oldFrom);
    }
    if (to) DeleteDC(to);
    if (from) DeleteDC(from);
    if (section) DeleteObject(section);
    DeleteObject(loaded);
    return result;
}

int CStream::OnPaint(WPARAM) {
    if (!window) return 0;
    int32_t key = 0;
    const bool transparent = ReadColour(window, &key);

    POINT corner = {0, 0};
    HWND marker = ::GetDlgItem(window, IDC_EDITOR_LOGO_MARKER);
    if (marker) {
        RECT r;
        ::GetWindowRect(marker, &r);
        corner.x = r.left;
        corner.y = r.top;
        ::ScreenToClient(window, &corner);
    }

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc) {
        if (transparent) {
            HBITMAP logo = CreateDIBitmap(dc, &logoInfo.bmiHeader, CBM_INIT, logoPixels, &logoInfo, DIB_RGB_COLORS);
            if (logo) {
                DrawTransparentBitmap(dc, logo, corner.x, corner.y, key);
                DeleteObject(logo);
            }
        } else {
            // No colour to key on: the logo as it is.
            SetDIBitsToDevice(dc, corner.x, corner.y, kLogoSide, kLogoSide, 0, 0, 0, kLogoSide, logoPixels,
                              &logoInfo, DIB_RGB_COLORS);
        }
        EndPaint(window, &paint);
    }
    return 0;
}

int CStream::OnClose() {
    ForgetPickedPicture();
    Show(SW_HIDE);
    return 1;
}

int CStream::OnCommand(int notifyCode, WPARAM commandArg, CWnd*) {
    switch (LOWORD(commandArg)) {
    case IDC_EDITOR_SAVE:
        Save();
        return 1;
    case IDC_EDITOR_CANCEL:
        OnClose();
        return 1;
    case IDC_EDITOR_CHANGE_LOGO:
        ChooseLogoFile();
        return 1;
    case IDC_EDITOR_COLOUR:
        if (notifyCode == EN_CHANGE) KeyPickedPicture(true);
        return 0;
    case IDOK:
    case IDCANCEL:
        // Enter and Escape neither save nor close.
        return 1;
    default:
        return 0;
    }
}

void CStream::ChooseLogoFile() {
    char path[MAX_PATH] = {0};
    OPENFILENAMEA dialog;
    memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = SafeHandle();
    dialog.lpstrFilter = kPictureFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!AskOpenFileName(dialog)) return;
    // Kept until the editor closes: a key colour set afterwards recolours
    // its transparent parts and margins.
    ScaledPicture* picture = new (std::nothrow) ScaledPicture;
    if (!picture) return Refuse("Image trop grande pour un logo !");
    switch (ReadScaledPicture(path, *picture)) {
    case PictureReading::Read:
        break;
    case PictureReading::TooLarge:
        delete picture;
        Refuse("Image trop grande pour un logo !");   // the previous logo stays
        return;
    case PictureReading::Unreadable:
        delete picture;
        Refuse("Image illisible !");
        return;
    }
    ForgetPickedPicture();
    pickedPicture = picture;
    // Transparent parts and margins take the key colour the user has set.
    KeyPickedPicture(false);
}

// Each field is stored as soon as it is read, so a refusal part-way leaves
// the earlier fields of an edited record changed.
void CStream::Save() {
    if (!isEditing) {
        // A record left by an earlier refused press is simply used again.
        if (currentRecord == nullptr) currentRecord = new StreamRecord;
        memset(currentRecord, 0, sizeof *currentRecord);
    }
    StreamRecord* record = currentRecord;
    if (record == nullptr) return;
    // Fields change one by one below, even when a later one is refused.
    if (isEditing && catalogue) catalogue->NoteRecordEdited();
    HWND dialog = SafeHandle();
    char text[kTextFieldSize];

    ReadControl(dialog, IDC_EDITOR_NAME, text);
    if (text[0] == 0) return Refuse("Le titre du flux n'est pas renseigné !");
    SetField(record->name, text);

    ReadControl(dialog, IDC_EDITOR_ADDRESS, text);
    if (text[0] == 0) return Refuse("L'adresse du flux n'est pas renseignée !");
    if (!IsStreamAddress(text)) return Refuse("L'adresse du flux doit être de type http:// ou mms:// !");
    SetField(record->address, text);

    for (const TextControl& control : kTextControls) {
        if (control.id == IDC_EDITOR_NAME || control.id == IDC_EDITOR_ADDRESS) continue;
        ReadControl(dialog, control.id, text);
        SetField(record->*control.field, text);
    }
    if (record->website[0] && !IsWebAddress(record->website))
        return Refuse("L'adresse du site web doit commencer par http:// !");
    if (record->playlist[0] && !IsWebAddress(record->playlist))
        return Refuse("L'adresse de la playlist doit commencer par http:// !");
    if (record->podcast[0] && !IsWebAddress(record->podcast))
        return Refuse("L'adresse du podcast doit commencer par http:// !");

    int32_t colour = record->transparentColour;
    if (ReadColour(dialog, &colour)) record->transparentColour = colour;
    memcpy(record->logo, logoPixels, kLogoBytes);
    record->kind = static_cast<int16_t>(IsDlgButtonChecked(IDC_EDITOR_RADIO) ? kStreamKindRadio : kStreamKindTv);

    if (!isEditing) {
        // From here on the catalogue owns the record, or it is refused and lost.
        currentRecord = nullptr;
        if (catalogue == nullptr || !catalogue->AddStream(record)) delete record;
    }

    Show(SW_HIDE);
    if (catalogue && catalogue->SafeHandle()) InvalidateRect(catalogue->window, nullptr, TRUE);
    if (preferences) preferences->Show(SW_SHOW);
}

// The edited record is gone (deleted, or the catalogue cleared or imported):
// the entry becomes a new one rather than closing, so that what the user
// typed is kept and a save adds it back as a new record.
void CStream::OnRecordReleased(const StreamRecord* record) {
    if (!isEditing || record == nullptr || record != currentRecord) return;
    isEditing = false;
    currentRecord = nullptr;
    if (SafeHandle()) SetWindowTextA(kNewTitle);
}
