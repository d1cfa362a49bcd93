// The slot table and its view: adding, deleting, reordering, clearing.
#include <cstring>

#include "catalogue/list_view.h"

#include "catalogue/portable/row_geometry.h"
#include "ui/framework/modal_loops.h"

CListView::CListView()
    : slotCount(0),
      filterRadio(1),
      filterTv(1),
      logoHeight(kRowLogoHeight),
      marginY(kRowMarginY),
      mouseX(0),
      mouseY(0),
      hotLink(nullptr),
      selectionColour(0),
      selectionLight(0),
      backgroundColour(0),
      backgroundLight(0),
      backgroundDark(0),
      backgroundDarker(0),
      preferences(nullptr),
      panel(nullptr),
      deferringRows(false),
      viewIsSearch(false),
      readingListFile(false),
      refusedWhileReading(0) {
    memset(protectedListPath, 0, sizeof protectedListPath);
    memset(listName, 0, sizeof listName);
    memset(slots, 0, sizeof slots);
    memset(filterText, 0, sizeof filterText);
    memset(releaseListeners, 0, sizeof releaseListeners);
}

CListView::~CListView() {
    // Shut-down has normally released every record already.
    for (int i = 0; i < slotCount; ++i) {
        delete slots[i];
        slots[i] = nullptr;
    }
    slotCount = 0;
}

int CListView::AddStream(StreamRecord* record) {
    if (slotCount >= kMaxSlots) {
        // A list file being read is told about once, at its end.
        if (readingListFile) {
            ++refusedWhileReading;
            return 0;
        }
        ShowPluginMessage(window, kCatalogueFull, "Ondaria", MB_ICONWARNING);
        return 0;
    }
    record->index = slotCount;
    slots[slotCount++] = record;
    int row = AppendRow(record);
    // A list file being read ends with no selection and one repaint; selecting
    // each row on the way would only scroll a list nobody sees.
    if (readingListFile) return 1;
    if (row != LB_ERR) ListBoxCall(LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    UpdateWindow();
    return 1;
}

bool CListView::BeginRowBatch() {
    // Only for a list that is itself shown: turning redraw back on may show a hidden window.
    if (window == nullptr || !(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) return false;
    SendMessageA(WM_SETREDRAW, FALSE, 0);
    return true;
}

void CListView::EndRowBatch(bool batched) {
    if (!batched) return;
    SendMessageA(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
}

bool CListView::BeginAddingMany() {
    bool batched = BeginRowBatch();
    readingListFile = true;
    deferringRows = true;
    return batched;
}

void CListView::EndAddingMany(bool batched) {
    deferringRows = false;
    if (ListIsLive()) GiveRowsToList(static_cast<size_t>(ListBoxCall(LB_GETCOUNT, 0, 0)));
    readingListFile = false;
    EndRowBatch(batched);
}

void CListView::ReleaseRecord(StreamRecord* record) {
    if (PointsIntoRecord(hotLink, record)) hotLink = nullptr;
    for (RecordReleaseListener* listener : releaseListeners) {
        if (listener) listener->OnRecordReleased(record);
    }
    delete record;
}

int CListView::DeleteStream(int row) {
    StreamRecord* record = ViewRecordAt(row);
    if (record == nullptr) return 1;
    RemoveRow(row);
    // A search on several words may list the record on other rows too.
    for (int r = static_cast<int>(rows.size()) - 1; r >= 0; --r) {
        if (rows[static_cast<size_t>(r)] == record) RemoveRow(r);
    }
    int slot = record->index;
    if (slot >= 0 && slot < slotCount && slots[slot] == record) {
        slots[slot] = nullptr;
        ReleaseRecord(record);
    }
    return 1;
}

int CListView::DeleteStreams(bool (*unwanted)(void* context, const StreamRecord& record), void* context) {
    // Empty the view first so that no row ever refers to a released record.
    ResetRows();
    int deleted = 0;
    for (int i = 0; i < slotCount; ++i) {
        StreamRecord* record = slots[i];
        if (record && unwanted(context, *record)) {
            slots[i] = nullptr;
            ReleaseRecord(record);
            ++deleted;
        }
    }
    ReapplyFilter();
    return deleted;
}

int CListView::ClearCatalogue() {
    // Empty the view first so that no row ever refers to a released record.
    ResetRows();
    for (int i = 0; i < slotCount; ++i) {
        if (slots[i]) {
            StreamRecord* record = slots[i];
            slots[i] = nullptr;
            ReleaseRecord(record);
        }
    }
    slotCount = 0;
    return 1;
}

StreamRecord* CListView::GetSelectedStream() {
    LRESULT row = SendMessageA(LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return nullptr;
    return ViewRecordAt(static_cast<int>(row));
}

StreamRecord* CListView::GetStreamAt(int row) {
    int n = ViewRowCount();
    if (n == 0) return nullptr;
    if (row >= n) row = 0;
    else if (row < 0) row = n - 1;
    return ViewRecordAt(row);
}

int CListView::SwapRows(int a, int b) {
    StreamRecord* p = ViewRecordAt(a);
    StreamRecord* q = ViewRecordAt(b);
    if (p && q) {
        slots[p->index] = q;
        slots[q->index] = p;
        int32_t index = p->index;
        p->index = q->index;
        q->index = index;
    }
    ReapplyFilter();
    return 1;
}

void CListView::SetListName(const char* text) { NormaliseListName(text, listName); }

bool CListView::AddReleaseListener(RecordReleaseListener* listener) {
    for (RecordReleaseListener*& slot : releaseListeners) {
        if (slot == listener) return true;
    }
    for (RecordReleaseListener*& slot : releaseListeners) {
        if (slot == nullptr) {
            slot = listener;
            return true;
        }
    }
    return false;
}

void CListView::RemoveReleaseListener(RecordReleaseListener* listener) {
    for (RecordReleaseListener*& slot : releaseListeners) {
        if (slot == listener) slot = nullptr;
    }
}
