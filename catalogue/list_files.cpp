// Reading and writing the catalogue as a ".rtv" list file.
#include "catalogue/list_file_format.h"
#include "catalogue/list_view.h"

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
    switch (result) {
    case ListReadResult::CannotOpen:
    case ListReadResult::Empty:
        return 0;
    case ListReadResult::NotValid:
        MessageBoxA(window, "Le fichier n'est pas valide !", "Ondaria", MB_ICONWARNING);
        return 0;
    case ListReadResult::Read:
        break;
    }
    // Brings the top of the list into view and leaves nothing selected.
    SendMessageA(LB_SETCURSEL, 0, 0);
    SendMessageA(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    return 1;
}
