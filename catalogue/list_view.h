// The catalogue: a slot table of stream records, the list box rows that show
// them (the view), the search criteria, and the list box's window behaviour.
#pragma once

#include <windows.h>

#include <vector>

#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/playlist_import.h"
#include "catalogue/portable/playlist_stations.h"
#include "catalogue/portable/record_release.h"
#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "ui/framework/wnd.h"

class CPref;
class CPlugin;
struct NMSKINSCROLLDRAW;

constexpr int kMaxReleaseListeners = 4;

class CListView : public CWnd {
public:
    CListView();
    ~CListView() override;

    // Catalogue (slot table and view).
    int AddStream(StreamRecord* record);
    int DeleteStream(int row);
    // Deletes every record that `unwanted` picks, shown or not; the view is
    // then made again. Returns how many went.
    int DeleteStreams(bool (*unwanted)(void* context, const StreamRecord& record), void* context);
    int ClearCatalogue();
    StreamRecord* GetSelectedStream();
    StreamRecord* GetStreamAt(int row);
    int SwapRows(int a, int b);
    void SetListName(const char* text);

    // List files. `text` is the plugin folder (ending in a separator) in
    // current-list mode, a full path otherwise.
    int SaveListFile(const char* text, int currentList);
    int LoadListFile(const char* text, int currentList);
    // Replaces the catalogue with the list file at `path`, but only once the
    // file has been read as valid: a failed import leaves the catalogue as it was.
    int ImportListFile(const char* path);
    // Merges the list file at `path`: its records whose address the
    // catalogue holds already are skipped, and `tally` counts them as for a
    // playlist. `quiet` leaves telling the user to the caller. 1 when the
    // file was read (records may have been added), else 0.
    int MergeListFile(const char* path, PlaylistTally& tally, bool quiet);
    // The current list at start-up. A file that cannot be taken whole (not a
    // list file, unreadable, longer than the catalogue holds) is first copied
    // beside itself, and the user told where; when not even a copy can be
    // made, the file is never written over in this session.
    int LoadCurrentListFile(const char* folder);
    // The current list at shut-down; 0 when it could not be written.
    int SaveCurrentListFile(const char* folder);

    // Playlists (M3U, PLS, XSPF). A merge skips the entries whose address the
    // catalogue holds already; an import replaces the catalogue, but only
    // when at least one station was read. Both return 0, changing nothing,
    // for a file that gives no station; `tally` says what came of it.
    // `quiet` leaves telling of a full catalogue to the caller (a drop says everything once).
    int MergePlaylist(const char* path, PlaylistTally& tally, bool quiet = false);
    int ImportPlaylist(const char* path, PlaylistTally& tally);
    // What the file at `path` holds, from its first bytes; Unknown when unreadable.
    static ListFormat FileFormat(const char* path);

    // Search.
    int ApplyFilter(int includeRadio, int includeTv, const char* text);
    int ReapplyFilter();
    // True when the view is what ApplyFilter with these criteria would make
    // of it: the latest search, with no change to the catalogue or the rows
    // since and no row selected. A search box sends several notices per key.
    bool ShowsSearch(int includeRadio, int includeTv, const char* text) const;
    // A record was changed in place: a search may now find other rows.
    void NoteRecordEdited();

    // The addresses in the catalogue, to find duplicates in constant time.
    void IndexAddresses(AddressIndex& index) const;
    // Adds the stations in order while there is room; the rest are left out,
    // told once unless `quiet`.
    void AddPlaylistStations(PlaylistStations& stations, PlaylistTally& tally, bool quiet);

    // Objects holding pointers into records hear of every release.
    bool AddReleaseListener(RecordReleaseListener* listener);
    void RemoveReleaseListener(RecordReleaseListener* listener);

    // List control.
    int UpdateItemHeight();
    int SetColours(COLORREF selection, COLORREF background);
    int RowHeight() const;
    int OnKeyDown(WPARAM virtualKey, int keyDataLow, int keyDataHigh) override;
    int OnKeyUp(WPARAM virtualKey, int keyDataLow, int keyDataHigh) override;
    // Files dropped on the list go to the panel, which takes them.
    int OnDropFiles(WPARAM drop, LPARAM second) override;
    LRESULT DefaultProc(UINT message, WPARAM first, LPARAM second) override;
    // Paints one part of the list's skinned scroll bars; `answer` goes back to the bar.
    int DrawScrollBarPart(NMSKINSCROLLDRAW* draw, LRESULT* answer);

    // The view. The catalogue holds the rows; the list box (a virtual one
    // when it has LBS_NODATA) only counts them, and the row messages sent to
    // it (LB_ADDSTRING, LB_GETITEMDATA, ...) are answered from here.
    int ViewRowCount() const;
    int ViewSelectedRow() const;
    StreamRecord* ViewRecordAt(int row) const;

    // Catalogue state.
    char listName[kListNameSize];
    int slotCount;
    StreamRecord* slots[kMaxSlots];

    // Search criteria.
    int filterRadio;
    int filterTv;
    char filterText[kTextFieldSize];

    // List control state.
    int logoHeight;
    int marginY;
    int mouseX;
    int mouseY;
    const char* hotLink;
    COLORREF selectionColour;
    COLORREF selectionLight;
    COLORREF backgroundColour;
    COLORREF backgroundLight;
    COLORREF backgroundDark;
    COLORREF backgroundDarker;

    CPref* preferences;
    CPlugin* panel;

private:
    // The view's rows, kept equal to the list box's while it lives.
    bool ListIsLive() const;
    // The list box's own procedure, under this subclass.
    LRESULT ListBoxCall(UINT message, WPARAM first, LPARAM second) const;
    // The row messages from outside; false for any other message.
    bool AnswerRowMessage(UINT message, WPARAM first, LPARAM second, LRESULT* answer);
    int AppendRow(StreamRecord* record);   // the new row, or LB_ERR
    void RemoveRow(int row);
    void ResetRows();
    // Hands a view rebuilt in `rows` to the empty list box.
    void ShowRows();
    // Gives the list box the rows from `first` on: one count for a virtual
    // list box, a row at a time for any other.
    void GiveRowsToList(size_t first);

    void ReleaseRecord(StreamRecord* record);
    // Many rows added at once: one repaint at the end instead of one per row,
    // which on a shown list box is the whole cost.
    bool BeginRowBatch();
    void EndRowBatch(bool batched);
    // Many records added at once (a list file, an import, a playlist): a
    // full catalogue is told about once, at the end, and the new rows reach
    // the list box together.
    bool BeginAddingMany();
    void EndAddingMany(bool batched);
    void NotifyParent(int code);
    void DrawRaisedPart(HDC dc, const RECT& r) const;

    // What reading a list file into the catalogue came to.
    struct ListLoad {
        ListReadResult read;
        int refused;   // records the full catalogue could not take
    };
    ListLoad ReadIntoCatalogue(const char* path);
    // The playlist's stations that the catalogue does not hold, as many as
    // it has room for, as new records with the default logo; what was
    // skipped is counted in `tally`.
    PlaylistReading ReadPlaylistStations(const char* path, bool againstCatalogue, PlaylistStations& stations,
                                         PlaylistTally& tally);
    // Tells the user what a load came to; false when nothing was read.
    bool ReportLoad(const ListLoad& load) const;

    RecordReleaseListener* releaseListeners[kMaxReleaseListeners];
    std::vector<StreamRecord*> rows;
    // While a list file is read, its rows reach the list box all at once at the end.
    bool deferringRows;
    // The rows are the latest search's, unchanged since.
    bool viewIsSearch;
    bool readingListFile;
    int refusedWhileReading;
    // The current list file that start-up could neither read nor copy: never
    // written over (a list renamed since is saved under its new name).
    char protectedListPath[kPathSize];
};
