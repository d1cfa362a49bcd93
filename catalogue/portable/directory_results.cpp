#include "catalogue/portable/directory_results.h"

#include <new>

#include "catalogue/portable/directory_station.h"
#include "catalogue/portable/stream_record.h"

namespace {

bool IsNumberColumn(int column) { return column == kColumnBitrate || column == kColumnClicks; }

// Windows-1252 letters compared without case: ASCII and the accented range.
unsigned char Folded(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<unsigned char>(u + 32);
    return u;
}

bool TextBefore(const Text& a, const Text& b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t k = 0; k < n; ++k) {
        const unsigned char x = Folded(a[k]), y = Folded(b[k]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

double NumberMember(const JsonValue& station, const char* name) {
    const JsonValue* value = station.Member(name);
    return value && value->kind == JsonKind::Number && value->number > 0 ? value->number : 0;
}

bool MakeRow(const JsonValue& station, DirectoryRow& row) {
    StreamRecord* record = new (std::nothrow) StreamRecord;
    if (record == nullptr) return false;
    const bool made = MakeDirectoryRecord(station, *record);
    if (made) {
        // The row may hold an earlier page's station.
        row.cells[kColumnClicks].clear();
        row.station = &station;
        row.cells[kColumnName] = record->name;
        Text country = station.StringMember("countrycode");
        if (country.empty()) country = station.StringMember("country");
        row.cells[kColumnCountry] = RecordText(country, true);
        Text genre;
        const Text tags = station.StringMember("tags");
        for (size_t k = 0; k < tags.size(); ++k) {
            genre += tags[k];
            if (tags[k] == ',') genre += ' ';
        }
        row.cells[kColumnGenre] = RecordText(genre, true);
        row.cells[kColumnFormat] = record->format;
        row.cells[kColumnBitrate] = record->quality;
        row.numbers[kColumnBitrate] = NumberMember(station, "bitrate");
        row.numbers[kColumnClicks] = NumberMember(station, "clickcount");
        const JsonValue* clicks = station.Member("clickcount");
        if (clicks && clicks->kind == JsonKind::Number) row.cells[kColumnClicks] = clicks->text;
    }
    delete record;
    return made;
}

}  // namespace

bool DirectoryPage::Read(const char* text, size_t size) {
    rows_ = 0;
    answered_ = 0;
    sortedBy_ = -1;
    reversed_ = false;
    if (!document_.Parse(text, size) || document_.Root()->kind != JsonKind::Array) {
        document_.Parse("[]", 2);
        return false;
    }
    // A server sending more than the page asked for gets the page shown.
    for (const JsonValue* station = document_.Root()->child; station && answered_ < kDirectoryPageSize;
         station = station->next) {
        ++answered_;
        if (MakeRow(*station, row_[rows_])) {
            order_[rows_] = static_cast<unsigned char>(rows_);
            ++rows_;
        }
    }
    return true;
}

void DirectoryPage::SortBy(int column) {
    if (column < 0 || column >= kDirectoryColumnCount) return;
    reversed_ = column == sortedBy_ ? !reversed_ : false;
    sortedBy_ = column;
    const bool number = IsNumberColumn(column);
    auto before = [this, column, number](const DirectoryRow& a, const DirectoryRow& b) {
        const DirectoryRow& first = reversed_ ? b : a;
        const DirectoryRow& second = reversed_ ? a : b;
        if (number) return first.numbers[column] > second.numbers[column];
        return TextBefore(first.cells[column], second.cells[column]);
    };
    // A page is a hundred rows: an insertion sort, stable, is all it takes.
    for (size_t k = 1; k < rows_; ++k) {
        const unsigned char moving = order_[k];
        size_t at = k;
        for (; at > 0 && before(row_[moving], row_[order_[at - 1]]); --at) order_[at] = order_[at - 1];
        order_[at] = moving;
    }
}

Text DescribeDirectoryAdding(const PlaylistTally& tally) {
    Text text;
    auto count = [&text](int n, const char* one, const char* many) {
        text.AppendNumber(n);
        text += n > 1 ? many : one;
    };
    count(tally.added, " radio ajoutée", " radios ajoutées");
    text += ", ";
    count(tally.present, " déjà présente", " déjà présentes");
    if (tally.leftOut > 0) {
        text += ", ";
        count(tally.leftOut, " laissée de côté", " laissées de côté");
        text += ". ";
        text += kCatalogueFull;
    }
    return text;
}
