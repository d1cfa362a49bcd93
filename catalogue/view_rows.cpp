// The rows of the view. They are held here rather than in the list box: a
// search in a full catalogue makes thousands of rows, and giving each to the
// list box, then deleting each, cost a message round trip per row.
#include "catalogue/list_view.h"

bool CListView::ListIsLive() const { return window != nullptr && ::IsWindow(window); }

LRESULT CListView::ListBoxCall(UINT message, WPARAM first, LPARAM second) const {
    if (previousProc) return CallWindowProcA(previousProc, window, message, first, second);
    return ::SendMessageA(window, message, first, second);
}

int CListView::ViewRowCount() const { return ListIsLive() ? static_cast<int>(rows.size()) : 0; }

int CListView::ViewSelectedRow() const { return static_cast<int>(SendMessageA(LB_GETCURSEL, 0, 0)); }

StreamRecord* CListView::ViewRecordAt(int row) const {
    if (row < 0 || row >= ViewRowCount()) return nullptr;
    return rows[static_cast<size_t>(row)];
}

int CListView::AppendRow(StreamRecord* record) {
    if (!ListIsLive()) return LB_ERR;
    viewIsSearch = false;
    if (deferringRows) {
        rows.push_back(record);
        return static_cast<int>(rows.size() - 1);
    }
    LRESULT row = ListBoxCall(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record));
    // A virtual list box that takes no single row takes a count.
    if (row < 0 && ListBoxCall(LB_SETCOUNT, rows.size() + 1, 0) >= 0) row = static_cast<LRESULT>(rows.size());
    if (row < 0) return LB_ERR;
    rows.insert(rows.begin() + row, record);
    return static_cast<int>(row);
}

void CListView::RemoveRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    viewIsSearch = false;
    rows.erase(rows.begin() + row);
    if (ListIsLive() && ListBoxCall(LB_DELETESTRING, static_cast<WPARAM>(row), 0) == LB_ERR) {
        ListBoxCall(LB_SETCOUNT, rows.size(), 0);
        InvalidateRect(window, nullptr, TRUE);
    }
}

void CListView::ResetRows() {
    viewIsSearch = false;
    rows.clear();
    if (ListIsLive()) ListBoxCall(LB_RESETCONTENT, 0, 0);
}

void CListView::ShowRows() {
    if (!ListIsLive()) {
        rows.clear();
        return;
    }
    ListBoxCall(LB_RESETCONTENT, 0, 0);
    GiveRowsToList(0);
}

void CListView::GiveRowsToList(size_t first) {
    if (!ListIsLive() || first >= rows.size()) return;
    if (ListBoxCall(LB_SETCOUNT, rows.size(), 0) >= 0) return;
    for (size_t i = first; i < rows.size(); ++i) ListBoxCall(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rows[i]));
}

bool CListView::AnswerRowMessage(UINT message, WPARAM first, LPARAM second, LRESULT* answer) {
    const size_t count = rows.size();
    auto* record = reinterpret_cast<StreamRecord*>(second);
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        *answer = ListBoxCall(message, first, second);
        if (*answer >= 0 && static_cast<size_t>(*answer) <= count) {
            rows.insert(rows.begin() + *answer, record);
            viewIsSearch = false;
        }
        return true;
    case LB_DELETESTRING:
        *answer = ListBoxCall(message, first, second);
        if (*answer != LB_ERR && first < count) {
            rows.erase(rows.begin() + static_cast<ptrdiff_t>(first));
            viewIsSearch = false;
        }
        return true;
    case LB_RESETCONTENT:
        ResetRows();
        *answer = 0;
        return true;
    case LB_SETCOUNT:
        *answer = ListBoxCall(message, first, second);
        if (*answer >= 0) {
            rows.resize(first, nullptr);
            viewIsSearch = false;
        }
        return true;
    case LB_GETITEMDATA:
        *answer = first < count ? reinterpret_cast<LRESULT>(rows[first]) : LB_ERR;
        return true;
    case LB_SETITEMDATA:
        if (first >= count) {
            *answer = LB_ERR;
            return true;
        }
        rows[first] = record;
        viewIsSearch = false;
        ListBoxCall(message, first, second);
        *answer = LB_OKAY;
        return true;
    default:
        return false;
    }
}
