// Rebuilding the view from the slot table by kind and search words.
#include <cstring>

#include "catalogue/list_view.h"
#include "catalogue/portable/search_match.h"

namespace {

void AppendViewRow(void* context, StreamRecord* record) {
    static_cast<CListView*>(context)->SendMessageA(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record));
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
    SendMessageA(LB_RESETCONTENT, 0, 0);
    SearchCriteria criteria{includeRadio, includeTv, filterText};
    ForEachSearchRow(slots, slotCount, criteria, &AppendViewRow, this);
    EndRowBatch(batch);
    UpdateWindow();
    return 1;
}

int CListView::ReapplyFilter() { return ApplyFilter(filterRadio, filterTv, filterText); }
