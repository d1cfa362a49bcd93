// Reading and writing the catalogue as a ".rtv" list file.
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "catalogue/list_view.h"
#include "catalogue/logo_images.h"
#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/text.h"
#include "storage/portable/file_replace.h"

namespace {

const char kCaption[] = "Ondaria";
// The copy kept of a current list that start-up could not take whole.
const char kUnreadableSuffix[] = ".illisible";   // not a list file, or not readable
const char kLongerSuffix[] = ".complete";        // more stations than the catalogue holds

struct SlotCursor {
    StreamRecord* const* slots;
    int count;
    int next;
};

const StreamRecord* NextFilledSlot(void* context) {
    auto* cursor = static_cast<SlotCursor*>(context);
    while (cursor->next < cursor->count) {
        const StreamRecord* record = cursor->slots[cursor->next++];
        if (record) return record;
    }
    return nullptr;
}

bool AddToCatalogue(void* context, StreamRecord* record) {
    return static_cast<CListView*>(context)->AddStream(record) != 0;
}

// An import's records, held until the whole file has been read. An emptied
// catalogue takes at most kMaxSlots of them; the rest are only counted.
struct ImportHolding {
    std::vector<std::unique_ptr<StreamRecord>> records;
    int overflow = 0;
};

bool HoldRecord(void* context, StreamRecord* record) {
    auto* holding = static_cast<ImportHolding*>(context);
    if (holding->records.size() >= static_cast<size_t>(kMaxSlots)) {
        ++holding->overflow;
        return false;
    }
    holding->records.emplace_back(record);
    return true;
}

void Warn(HWND owner, const char* text) { MessageBoxA(owner, text, kCaption, MB_ICONWARNING); }

// Brings the top of the list into view and leaves nothing selected.
void SelectNothingAtTop(const CListView& view) {
    view.SendMessageA(LB_SETCURSEL, 0, 0);
    view.SendMessageA(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

}  // namespace

CListView::ListLoad CListView::ReadIntoCatalogue(const char* path) {
    bool batch = BeginAddingMany();
    refusedWhileReading = 0;
    ListLoad load{ReadListFile(path, &AddToCatalogue, this), 0};
    load.refused = refusedWhileReading;
    EndAddingMany(batch);
    return load;
}

bool CListView::ReportLoad(const ListLoad& load) const {
    switch (load.read) {
    case ListReadResult::CannotOpen:
    case ListReadResult::Empty:
        return false;
    case ListReadResult::NotValid:
        Warn(window, "Le fichier n'est pas valide !");
        return false;
    case ListReadResult::Read:
    case ListReadResult::Incomplete:
        break;
    }
    if (load.refused > 0) {
        // Once for the whole file, however many stations it holds beyond the limit.
        char text[96];
        FormatText(text, sizeof text, "%s\n%d flux %s de côté.", kCatalogueFull, load.refused,
                 load.refused == 1 ? "laissé" : "laissés");
        Warn(window, text);
    }
    return true;
}

int CListView::SaveListFile(const char* text, int currentList) {
    char path[kPathSize];
    if (text == nullptr || !ComposeListPath(text, currentList != 0, listName, true, path)) return 0;
    ListFileHeader header = MakeListHeader(ViewRowCount(), listName);
    SlotCursor cursor{slots, slotCount, 0};
    return WriteListFile(path, header, &NextFilledSlot, &cursor) ? 1 : 0;
}

int CListView::LoadListFile(const char* text, int currentList) {
    char path[kPathSize];
    if (text == nullptr || !ComposeListPath(text, currentList != 0, listName, false, path)) return 0;
    if (!ReportLoad(ReadIntoCatalogue(path))) return 0;
    SelectNothingAtTop(*this);
    return 1;
}

int CListView::LoadCurrentListFile(const char* folder) {
    char path[kPathSize];
    if (folder == nullptr || !ComposeListPath(folder, true, listName, false, path)) return 0;
    ListLoad load = ReadIntoCatalogue(path);
    bool read = ReportLoad(load);
    if (read) SelectNothingAtTop(*this);

    bool whole = (load.read == ListReadResult::Read && load.refused == 0) || load.read == ListReadResult::Empty ||
                 (load.read == ListReadResult::CannotOpen && !PathExists(path));
    if (!whole) {
        // Shut-down would write what the catalogue holds over the file: keep the file first.
        char kept[kPathSize];
        const bool longer = load.read == ListReadResult::Read;
        if (SetFileAside(path, longer ? kLongerSuffix : kUnreadableSuffix, kept)) {
            char text[kPathSize + 64];
            FormatText(text, sizeof text, "Le fichier d'origine de la liste est conservé sous le nom :\n%s", kept);
            Warn(window, text);
        } else {
            memcpy(protectedListPath, path, sizeof path);
            Warn(window, "Le fichier de la liste ne peut être ni lu ni copié : il ne sera pas remplacé !");
        }
    }
    return read ? 1 : 0;
}

int CListView::SaveCurrentListFile(const char* folder) {
    char path[kPathSize];
    if (folder && ComposeListPath(folder, true, listName, true, path) && strcmp(path, protectedListPath) == 0) return 0;
    return SaveListFile(folder, 1);
}

int CListView::ImportListFile(const char* path) {
    char full[kPathSize];
    if (path == nullptr || !ComposeListPath(path, false, listName, false, full)) return 0;
    ImportHolding holding;
    ListReadResult read = ReadListFile(full, &HoldRecord, &holding);
    // A file that could not be read to its end replaces nothing.
    if (read == ListReadResult::Incomplete) return 0;
    if (!ReportLoad(ListLoad{read, holding.overflow})) return 0;

    bool batch = BeginAddingMany();
    ClearCatalogue();
    for (std::unique_ptr<StreamRecord>& record : holding.records) {
        if (AddStream(record.get())) record.release();
    }
    EndAddingMany(batch);
    SelectNothingAtTop(*this);
    return 1;
}

ListFormat CListView::FileFormat(const char* path) {
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (file == nullptr) return ListFormat::Unknown;
    uint8_t head[4096];
    size_t got = fread(head, 1, sizeof head, file);
    fclose(file);
    return RecogniseListFormat(head, got);
}

bool CListView::HoldsAddress(const char* address) const {
    for (int i = 0; i < slotCount; ++i) {
        if (slots[i] && strncmp(slots[i]->address, address, kTextFieldSize) == 0) return true;
    }
    return false;
}

bool CListView::ReadPlaylistStations(const char* path, bool againstCatalogue, std::vector<StreamRecord*>& stations,
                                     PlaylistTally& tally) {
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (file == nullptr) return false;
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t got;
    bool tooLarge = false;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes.size() + got > kMaxPlaylistBytes) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    const bool failed = ferror(file) != 0;
    fclose(file);
    if (tooLarge || failed) return false;

    const ListFormat format = RecogniseListFormat(bytes.data(), bytes.size());
    bool utf8 = false;
    std::vector<PlaylistEntry> entries = ReadPlaylistEntries(format, bytes.data(), bytes.size(), &utf8);
    uint8_t defaultLogo[kLogoBytes];
    const bool haveLogo = ReadLogoResource(CodeModule(), IDB_DEFAULT_LOGO, defaultLogo);
    for (const PlaylistEntry& entry : entries) {
        if (!IsPlaylistStreamAddress(entry.address)) {
            ++tally.ignored;
            continue;
        }
        std::unique_ptr<StreamRecord> record(new StreamRecord());
        MakePlaylistRecord(entry, utf8, *record);
        bool seen = againstCatalogue && HoldsAddress(record->address);
        for (const StreamRecord* earlier : stations) {
            seen = seen || strncmp(earlier->address, record->address, kTextFieldSize) == 0;
        }
        if (seen) {
            ++tally.present;
            continue;
        }
        if (haveLogo) memcpy(record->logo, defaultLogo, kLogoBytes);
        stations.push_back(record.release());
    }
    return !entries.empty();
}

void CListView::AddPlaylistStations(std::vector<StreamRecord*>& stations, PlaylistTally& tally) {
    bool batch = BeginAddingMany();
    for (StreamRecord*& record : stations) {
        if (AddStream(record)) {
            ++tally.added;
        } else {
            ++tally.leftOut;
            delete record;
        }
        record = nullptr;
    }
    EndAddingMany(batch);
    SelectNothingAtTop(*this);
    if (tally.leftOut > 0) ReportLoad(ListLoad{ListReadResult::Read, tally.leftOut});
}

int CListView::MergePlaylist(const char* path, PlaylistTally& tally) {
    std::vector<StreamRecord*> stations;
    if (!ReadPlaylistStations(path, true, stations, tally)) return 0;
    AddPlaylistStations(stations, tally);
    return 1;
}

int CListView::ImportPlaylist(const char* path, PlaylistTally& tally) {
    std::vector<StreamRecord*> stations;
    if (!ReadPlaylistStations(path, false, stations, tally) || stations.empty()) {
        for (StreamRecord* record : stations) delete record;
        return 0;
    }
    ClearCatalogue();
    AddPlaylistStations(stations, tally);
    return 1;
}
