#include "catalogue/directory_dialog.h"

#include <commctrl.h>

#include <cstring>
#include <new>

#include "catalogue/directory_servers.h"
#include "catalogue/logo_images.h"
#include "catalogue/portable/directory_station.h"
#include "catalogue/portable/text_encoding.h"
#include "host/plugin.h"

namespace {

// Posted by the web workers when an answer for this dialog is ready.
constexpr UINT kDirectoryAnswerMessage = WM_APP + 1;
constexpr size_t kMaxDirectoryAnswerBytes = 4u << 20;
constexpr size_t kMaxLogoBytes = 1u << 20;
// The click-count answer is a line of JSON that nobody reads.
constexpr size_t kMaxClickAnswerBytes = 65536;
// 2xx: the hundreds of a success.
constexpr DWORD kHttpSuccessHundred = 2;
constexpr DWORD kHundred = 100;

const char kUnreachable[] = "Annuaire injoignable !";
const char kNeedsTls12[] = "Annuaire injoignable : il faut Windows 7 ou plus récent (TLS 1.2) !";
const char kUnreadable[] = "Réponse illisible de l'annuaire !";
const char kNothingFound[] = "Aucune radio trouvée.";
const char kSearching[] = "Recherche en cours...";

struct Column {
    const char* title;
    int width;   // in pixels
    int format;
};
const Column kColumns[kDirectoryColumnCount] = {
    {"Nom", 170, LVCFMT_LEFT},   {"Pays", 40, LVCFMT_LEFT},    {"Genre", 120, LVCFMT_LEFT},
    {"Format", 50, LVCFMT_LEFT}, {"Débit", 70, LVCFMT_RIGHT}, {"Clics", 55, LVCFMT_RIGHT},
};

// The directory answers https only, and TLS 1.2 came to Windows with Windows 7 (6.1).
constexpr DWORD kWindows7Major = 6;
constexpr DWORD kWindows7Minor = 1;

bool SystemLacksTls12() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    return version.dwMajorVersion < kWindows7Major ||
           (version.dwMajorVersion == kWindows7Major && version.dwMinorVersion < kWindows7Minor);
}

Text DialogText(HWND dialog, int id) {
    char text[kTextFieldSize] = {0};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return Utf8FromWindows1252(Text(text));
}

bool IsSuccess(const WebAnswer& answer) {
    return answer.fetch.outcome == FetchOutcome::Answered && answer.fetch.status / kHundred == kHttpSuccessHundred;
}

}  // namespace

CDirectory::CDirectory() : plugin(nullptr) { templateId = IDD_DIRECTORY; }

HWND CDirectory::Results() const { return window ? ::GetDlgItem(window, IDC_DIRECTORY_RESULTS) : nullptr; }

void CDirectory::Open() {
    if (window == nullptr && plugin) {
        // The report-view list control is the common controls'.
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        Create(IDD_DIRECTORY, plugin, &CDialog::ModelessDialogProc);
    }
    if (window) Show(SW_SHOW);
}

void CDirectory::Close() {
    if (window) ::DestroyWindow(window);
    window = nullptr;
}

int CDirectory::OnInitDialog() {
    HWND list = Results();
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int k = 0; k < kDirectoryColumnCount; ++k) {
        LVCOLUMNA column;
        ZeroMemory(&column, sizeof column);
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = kColumns[k].format;
        column.cx = kColumns[k].width;
        column.pszText = const_cast<char*>(kColumns[k].title);
        column.iSubItem = k;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&column));
    }
    CheckDlgButton(IDC_DIRECTORY_ANSWERING, BST_CHECKED);
    ::EnableWindow(::GetDlgItem(window, IDC_DIRECTORY_MORE), FALSE);
    return 1;
}

int CDirectory::OnClose() {
    // A search nobody waits for any more, and not to be found waiting when
    // the dialog comes back; logos of stations added still come.
    plugin->web.Cancel(WebTopic::DirectorySearch);
    SetStatus("");
    Show(SW_HIDE);
    return 1;
}

void CDirectory::SetStatus(const char* text) { ::SetDlgItemTextA(window, IDC_DIRECTORY_STATUS, text); }

void CDirectory::Search(bool nextPage) {
    DirectorySearch asked = search;
    if (nextPage) {
        asked.offset += kDirectoryPageSize;
    } else {
        asked.name = DialogText(window, IDC_DIRECTORY_NAME);
        asked.tag = DialogText(window, IDC_DIRECTORY_GENRE);
        asked.country = DialogText(window, IDC_DIRECTORY_COUNTRY);
        asked.language = DialogText(window, IDC_DIRECTORY_LANGUAGE);
        asked.onlyAnswering = IsDlgButtonChecked(IDC_DIRECTORY_ANSWERING) == BST_CHECKED;
        asked.offset = 0;
    }
    plugin->web.Cancel(WebTopic::DirectorySearch);
    WebRequest request;
    request.topic = WebTopic::DirectorySearch;
    request.notify = window;
    request.message = kDirectoryAnswerMessage;
    request.bases = DirectoryServersFromFile(plugin->pluginFolder);
    if (request.bases.empty()) request.findBases = &DirectoryServersFromDns;
    request.path = DirectorySearchPath(asked);
    request.maxBytes = kMaxDirectoryAnswerBytes;
    pending = asked;
    SetStatus(plugin->web.Submit(request) ? kSearching : kUnreachable);
}

void CDirectory::ShowRows() {
    HWND list = Results();
    // A virtual list: only the count is given, the cells are asked for when drawn.
    ::SendMessageA(list, LVM_SETITEMCOUNT, page.Rows(), 0);
    LVITEMA none;
    ZeroMemory(&none, sizeof none);
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (page.Rows() > 0) ::SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    ::InvalidateRect(list, nullptr, TRUE);
}

void CDirectory::ShowSearchAnswer(const WebAnswer& answer) {
    // An answer too long to take is as good as an unreadable one.
    if (answer.fetch.outcome == FetchOutcome::TooLarge) return SetStatus(kUnreadable);
    if (!IsSuccess(answer)) {
        const bool https = answer.base.StartsWith("https:") || answer.base.empty();
        return SetStatus(https && SystemLacksTls12() ? kNeedsTls12 : kUnreachable);
    }
    if (!page.Read(answer.fetch.body.c_str(), answer.fetch.body.size())) {
        ShowRows();
        return SetStatus(kUnreadable);
    }
    search = pending;
    answeredBy = answer.base;
    ShowRows();
    ::EnableWindow(::GetDlgItem(window, IDC_DIRECTORY_MORE),
                   page.Answered() == static_cast<size_t>(kDirectoryPageSize));
    if (page.Rows() == 0) return SetStatus(kNothingFound);
    char status[96];
    const int count = static_cast<int>(page.Rows());
    const char* found = count > 1 ? "radios trouvées" : "radio trouvée";
    if (search.offset == 0) FormatText(status, sizeof status, "%d %s.", count, found);
    else FormatText(status, sizeof status, "%d %s (suite, à partir de la %de).", count, found, search.offset + 1);
    SetStatus(status);
}

void CDirectory::Play(int row) {
    if (row < 0 || static_cast<size_t>(row) >= page.Rows()) return;
    const JsonValue& station = *page.Row(static_cast<size_t>(row)).station;
    if (MakeDirectoryRecord(station, played)) {
        plugin->PlayAddress(played.address, played.website);
        // The directory counts what its users listen to, and asks clients to tell it.
        WebRequest click;
        click.topic = WebTopic::DirectoryClick;
        click.notify = window;
        click.message = kDirectoryAnswerMessage;
        click.path = DirectoryClickPath(station.StringMember("stationuuid"));
        click.maxBytes = kMaxClickAnswerBytes;
        if (!click.path.empty() && !answeredBy.empty()) {
            click.bases.push_back(answeredBy);
            plugin->web.Submit(click);
        }
    }
}

void CDirectory::AddSelected() {
    CListView& view = plugin->view;
    HWND list = Results();
    AddressIndex known(kMaxSlots + kDirectoryPageSize);
    view.IndexAddresses(known);
    uint8_t defaultLogo[kLogoBytes];
    const bool haveDefault = ReadLogoResource(CodeModule(), IDB_DEFAULT_LOGO, defaultLogo);
    PlaylistStations stations;
    std::vector<Text> favicons;
    PlaylistTally tally;
    int row = -1;
    while ((row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        if (static_cast<size_t>(row) >= page.Rows()) break;
        const JsonValue& station = *page.Row(static_cast<size_t>(row)).station;
        StreamRecord* record = new (std::nothrow) StreamRecord;
        if (record == nullptr) break;
        memset(record, 0, sizeof *record);
        if (!MakeDirectoryRecord(station, *record)) {
            delete record;
            continue;
        }
        if (known.Contains(record->address)) {
            ++tally.present;
            delete record;
            continue;
        }
        known.Insert(record->address);
        if (haveDefault) memcpy(record->logo, defaultLogo, kLogoBytes);
        stations.records.push_back(record);
        favicons.push_back(DirectoryFavicon(station));
    }
    std::vector<Text> addresses;
    for (StreamRecord* record : stations.records) addresses.push_back(record->address);
    view.AddPlaylistStations(stations, tally, true);
    SetStatus(DescribeDirectoryAdding(tally).c_str());
    // The logos come later; each finds its station by its address.
    for (size_t k = 0; k < stations.records.size(); ++k) {
        if (stations.records[k] != nullptr || favicons[k].empty()) continue;
        WebRequest logo;
        logo.topic = WebTopic::DirectoryLogo;
        logo.notify = window;
        logo.message = kDirectoryAnswerMessage;
        logo.bases.push_back(favicons[k]);
        logo.maxBytes = kMaxLogoBytes;
        logo.tag = addresses[k];
        plugin->web.Submit(logo);
    }
    if (plugin->preferences.IsWindowVisible()) plugin->preferences.Show(SW_SHOW);
}

void CDirectory::ApplyLogo(const WebAnswer& answer) {
    if (!IsSuccess(answer)) return;
    ScaledPicture* picture = new (std::nothrow) ScaledPicture;
    if (picture == nullptr) return;
    uint8_t defaultLogo[kLogoBytes];
    CListView& view = plugin->view;
    if (ReadScaledPictureBytes(answer.fetch.body.c_str(), answer.fetch.body.size(), *picture) == PictureReading::Read &&
        ReadLogoResource(CodeModule(), IDB_DEFAULT_LOGO, defaultLogo)) {
        for (int k = 0; k < view.slotCount; ++k) {
            StreamRecord* record = view.slots[k];
            // Only a station that still has the address and the default logo:
            // one edited since keeps what the user gave it.
            if (record == nullptr || strcmp(record->address, answer.tag.c_str()) != 0 ||
                memcmp(record->logo, defaultLogo, kLogoBytes) != 0)
                continue;
            KeyScaledPicture(*picture, static_cast<uint32_t>(record->transparentColour), record->logo);
            if (view.window) ::InvalidateRect(view.window, nullptr, FALSE);
        }
    }
    delete picture;
}

void CDirectory::TakeAnswers() {
    while (WebAnswer* answer = plugin->web.TakeAnswer(window)) {
        if (answer->topic == WebTopic::DirectorySearch) ShowSearchAnswer(*answer);
        else if (answer->topic == WebTopic::DirectoryLogo) ApplyLogo(*answer);
        delete answer;
    }
}

INT_PTR CDirectory::DialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == kDirectoryAnswerMessage) {
        TakeAnswers();
        return TRUE;
    }
    return CDialog::DialogProc(hwnd, message, first, second);
}

int CDirectory::OnCommand(int, WPARAM commandArg, CWnd*) {
    HWND list = Results();
    const int selected = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    switch (LOWORD(commandArg)) {
    case IDC_DIRECTORY_SEARCH:
        // Enter comes here, being the default button: in the results it plays.
        if (::GetFocus() == list && selected >= 0) Play(selected);
        else Search(false);
        return 1;
    case IDC_DIRECTORY_MORE:
        Search(true);
        return 1;
    case IDC_DIRECTORY_PLAY:
        Play(selected);
        return 1;
    case IDC_DIRECTORY_ADD:
        AddSelected();
        return 1;
    case IDCANCEL:
        OnClose();
        return 1;
    default:
        return 0;
    }
}

int CDirectory::OnNotify(WPARAM, NMHDR* header, LRESULT* result) {
    if (header == nullptr || header->idFrom != IDC_DIRECTORY_RESULTS) return 0;
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return 0;
        item.pszText[0] = 0;
        if (item.iItem >= 0 && static_cast<size_t>(item.iItem) < page.Rows() && item.iSubItem >= 0 &&
            item.iSubItem < kDirectoryColumnCount) {
            strncpy(item.pszText, page.Row(static_cast<size_t>(item.iItem)).cells[item.iSubItem].c_str(),
                    static_cast<size_t>(item.cchTextMax) - 1);
            item.pszText[item.cchTextMax - 1] = 0;
        }
        return 1;
    }
    case LVN_COLUMNCLICK:
        page.SortBy(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        ShowRows();
        return 1;
    case static_cast<UINT>(NM_DBLCLK):
        Play(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        return 1;
    case static_cast<UINT>(NM_RETURN):
        Play(static_cast<int>(::SendMessageA(header->hwndFrom, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
        return 1;
    default:
        *result = 0;
        return 0;
    }
}
