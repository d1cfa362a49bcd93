// Rebuilding the view from the slot table by kind and search words.
#include <cstring>

#include "catalogue/list_view.h"
#include "catalogue/portable/search_match.h"

namespace {

void AppendViewRow(void* context, StreamRecord* record) {
    static_cast<std::vector<StreamRecord*>*>(context)->push_back(record);
}

}  // namespace

int CListView::ApplyFilter(int includeRadio, int includeTv, const char* text) {
    filterRadio = includeRadio;
    filterTv = includeTv;
    if (text != filterText) {
        memset(filterText, 0, sizeof filterText);
        if (text) strncpy(filterText, text, sizeof filterText - 1);
    }
    bool batch = BeginRowBatch();
    rows.clear();
    SearchCriteria criteria{includeRadio, includeTv, filterText};
    ForEachSearchRow(slots, slotCount, criteria, &AppendViewRow, &rows);
    ShowRows();
    viewIsSearch = true;
    EndRowBatch(batch);
    UpdateWindow();
    return 1;
}

int CListView::ReapplyFilter() { return ApplyFilter(filterRadio, filterTv, filterText); }

bool CListView::ShowsSearch(int includeRadio, int includeTv, const char* text) const {
    return viewIsSearch && ListIsLive() && includeRadio == filterRadio && includeTv == filterTv &&
           strcmp(text ? text : "", filterText) == 0 && ViewSelectedRow() == LB_ERR;
}

void CListView::NoteRecordEdited() { viewIsSearch = false; }
