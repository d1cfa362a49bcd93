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
#include "ui/framework/modal_loops.h"

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

void Warn(HWND owner, const char* text) { ShowPluginMessage(owner, text, kCaption, MB_ICONWARNING); }

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

namespace {

struct ListMerge {
    CListView& view;
    AddressIndex& known;
    PlaylistTally& tally;
};

bool MergeRecord(void* context, StreamRecord* record) {
    auto& merge = *static_cast<ListMerge*>(context);
    if (merge.known.Contains(record->address)) {
        ++merge.tally.present;
        return false;
    }
    if (!merge.view.AddStream(record)) {
        ++merge.tally.leftOut;
        return false;
    }
    merge.known.Insert(record->address);
    ++merge.tally.added;
    return true;
}

}  // namespace

int CListView::MergeListFile(const char* path, PlaylistTally& tally, bool quiet) {
    char full[kPathSize];
    if (path == nullptr || !ComposeListPath(path, false, listName, false, full)) return 0;
    AddressIndex known(kMaxSlots);
    IndexAddresses(known);
    ListMerge merge{*this, known, tally};
    const int leftOutBefore = tally.leftOut;
    bool batch = BeginAddingMany();
    ListReadResult read = ReadListFile(full, &MergeRecord, &merge);
    EndAddingMany(batch);
    if (read != ListReadResult::Read && read != ListReadResult::Incomplete) {
        if (!quiet) ReportLoad(ListLoad{read, 0});
        return 0;
    }
    if (!quiet) ReportLoad(ListLoad{read, tally.leftOut - leftOutBefore});
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

namespace {

// The whole file, when it is no larger than a playlist may be and memory allows.
bool ReadWholePlaylistFile(FILE* file, Text& bytes, bool& outOfMemory) {
    if (fseek(file, 0, SEEK_END) != 0) return false;
    const long size = ftell(file);
    if (size < 0 || static_cast<unsigned long>(size) > kMaxPlaylistBytes || fseek(file, 0, SEEK_SET) != 0) return false;
    if (!bytes.TryReserve(static_cast<size_t>(size))) {
        outOfMemory = true;
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    return fread(bytes.begin(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

PlaylistReading CListView::ReadPlaylistStations(const char* path, bool againstCatalogue, PlaylistStations& stations,
                                                PlaylistTally& tally) {
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (file == nullptr) return PlaylistReading::NoEntry;
    Text bytes;
    const bool read = ReadWholePlaylistFile(file, bytes, tally.outOfMemory);
    fclose(file);
    if (!read) return tally.outOfMemory ? PlaylistReading::OutOfMemory : PlaylistReading::NoEntry;

    AddressIndex known(kMaxSlots);
    if (againstCatalogue) IndexAddresses(known);
    const size_t room = static_cast<size_t>(kMaxSlots - (againstCatalogue ? slotCount : 0));
    const PlaylistReading reading = MakePlaylistStations(bytes, known, room, stations, tally);
    if (reading == PlaylistReading::OutOfMemory) tally.outOfMemory = true;
    uint8_t defaultLogo[kLogoBytes];
    if (ReadLogoResource(CodeModule(), IDB_DEFAULT_LOGO, defaultLogo)) {
        for (StreamRecord* record : stations.records) memcpy(record->logo, defaultLogo, kLogoBytes);
    }
    return reading;
}

void CListView::IndexAddresses(AddressIndex& index) const {
    for (int i = 0; i < slotCount; ++i) {
        if (slots[i]) index.Insert(slots[i]->address);
    }
}

void CListView::AddPlaylistStations(PlaylistStations& stations, PlaylistTally& tally, bool quiet) {
    bool batch = BeginAddingMany();
    for (StreamRecord*& record : stations.records) {
        if (AddStream(record)) {
            ++tally.added;
            record = nullptr;
        } else {
            ++tally.leftOut;
        }
    }
    EndAddingMany(batch);
    SelectNothingAtTop(*this);
    if (tally.leftOut > 0 && !quiet) ReportLoad(ListLoad{ListReadResult::Read, tally.leftOut});
}

int CListView::MergePlaylist(const char* path, PlaylistTally& tally, bool quiet) {
    PlaylistStations stations;
    if (ReadPlaylistStations(path, true, stations, tally) != PlaylistReading::Read) return 0;
    AddPlaylistStations(stations, tally, quiet);
    return 1;
}

int CListView::ImportPlaylist(const char* path, PlaylistTally& tally) {
    PlaylistStations stations;
    if (ReadPlaylistStations(path, false, stations, tally) != PlaylistReading::Read || stations.records.empty()) return 0;
    ClearCatalogue();
    AddPlaylistStations(stations, tally, false);
    return 1;
}
