// The directory's answer to a search, as the directory dialog shows it: one
// row a station, its cells in Windows-1252, sortable by any column.
#pragma once

#include <cstddef>

#include "catalogue/portable/directory_request.h"
#include "catalogue/portable/json_reader.h"
#include "catalogue/portable/playlist_import.h"
#include "catalogue/portable/text.h"

enum DirectoryColumn { kColumnName, kColumnCountry, kColumnGenre, kColumnFormat, kColumnBitrate, kColumnClicks };
constexpr int kDirectoryColumnCount = 6;

struct DirectoryRow {
    const JsonValue* station = nullptr;     // in the page's document
    Text cells[kDirectoryColumnCount];
    double numbers[kDirectoryColumnCount] = {};   // what the number columns sort by
};

class DirectoryPage {
public:
    // Reads an answer: a JSON array of stations, the first page of it.
    // Stations with no stream address the catalogue takes are left out.
    // False, holding nothing, for anything else.
    bool Read(const char* text, size_t size);
    size_t Rows() const { return rows_; }
    const DirectoryRow& Row(size_t at) const { return row_[order_[at]]; }
    // How many stations the answer held, shown or not: a full page means there may be more.
    size_t Answered() const { return answered_; }
    // Sorts the rows by a column: text from A, numbers from the largest;
    // the same column again reverses the order.
    void SortBy(int column);

private:
    // A page at most: held in place, as the dialog lives as long as the plugin.
    DirectoryRow row_[kDirectoryPageSize];
    unsigned char order_[kDirectoryPageSize] = {};   // shown row -> row_
    size_t rows_ = 0;
    JsonDocument document_;
    size_t answered_ = 0;
    int sortedBy_ = -1;
    bool reversed_ = false;
};

// The status line after "Ajouter": "3 radios ajoutées, 1 déjà présente",
// and what a full catalogue left out.
Text DescribeDirectoryAdding(const PlaylistTally& tally);
