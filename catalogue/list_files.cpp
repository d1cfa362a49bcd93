// Reading and writing the catalogue as a ".rtv" list file.
#include <memory>
#include <vector>

#include "catalogue/list_view.h"
#include "catalogue/portable/list_file_format.h"

namespace {

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

// Of the failures only a file that is not a list file is told.
bool ReadSucceeded(const CListView& view, ListReadResult result) {
    switch (result) {
    case ListReadResult::CannotOpen:
    case ListReadResult::Empty:
        return false;
    case ListReadResult::NotValid:
        MessageBoxA(view.window, "Le fichier n'est pas valide !", "Ondaria", MB_ICONWARNING);
        return false;
    case ListReadResult::Read:
        break;
    }
    return true;
}

// Brings the top of the list into view and leaves nothing selected.
void SelectNothingAtTop(const CListView& view) {
    view.SendMessageA(LB_SETCURSEL, 0, 0);
    view.SendMessageA(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

}  // namespace

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
    bool batch = BeginRowBatch();
    readingListFile = true;
    ListReadResult result = ReadListFile(path, &AddToCatalogue, this);
    readingListFile = false;
    EndRowBatch(batch);
    if (!ReadSucceeded(*this, result)) return 0;
    SelectNothingAtTop(*this);
    return 1;
}

int CListView::ImportListFile(const char* path) {
    char full[kPathSize];
    if (path == nullptr || !ComposeListPath(path, false, listName, false, full)) return 0;
    ImportHolding holding;
    if (!ReadSucceeded(*this, ReadListFile(full, &HoldRecord, &holding))) return 0;

    bool batch = BeginRowBatch();
    readingListFile = true;
    ClearCatalogue();
    for (std::unique_ptr<StreamRecord>& record : holding.records) {
        if (AddStream(record.get())) record.release();
    }
    // The catalogue is full by now: AddStream refuses each further record
    // with its message, as a plain load would.
    for (int i = 0; i < holding.overflow; ++i) {
        std::unique_ptr<StreamRecord> extra(new StreamRecord());
        if (AddStream(extra.get())) extra.release();
    }
    readingListFile = false;
    EndRowBatch(batch);
    SelectNothingAtTop(*this);
    return 1;
}
