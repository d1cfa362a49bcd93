#include "catalogue/portable/directory_station.h"

#include <cstring>

#include "catalogue/portable/playlist_import.h"

namespace {

// Beyond this a bitrate is no bitrate (the directory has seen such values).
constexpr double kLargestBitrate = 100000;

// Nothing but what Windows-1252 could not hold, and blanks.
bool NothingReadable(const Text& name) {
    for (size_t k = 0; k < name.size(); ++k) {
        if (name[k] != '?' && name[k] != ' ') return false;
    }
    return true;
}

void AppendWord(Text& words, const Text& word) {
    if (word.empty()) return;
    if (!words.empty()) words += ' ';
    words += word;
}

}  // namespace

bool MakeDirectoryRecord(const JsonValue& station, StreamRecord& record) {
    if (station.kind != JsonKind::Object) return false;
    PlaylistEntry entry;
    entry.address = station.StringMember("url_resolved");
    if (entry.address.empty()) entry.address = station.StringMember("url");
    entry.title = station.StringMember("name");
    entry.website = station.StringMember("homepage");
    if (!IsPlaylistStreamAddress(entry.address)) return false;
    if (NothingReadable(RecordText(entry.title, true))) entry.title = Text();
    MakePlaylistRecord(entry, true, record);

    Text keywords = station.StringMember("tags");
    for (char& c : keywords) c = c == ',' ? ' ' : c;
    AppendWord(keywords, station.StringMember("countrycode"));
    AppendWord(keywords, station.StringMember("language"));
    SetField(record.keywords, RecordText(keywords, true).c_str());
    SetField(record.format, RecordText(station.StringMember("codec"), true).c_str());
    const JsonValue* bitrate = station.Member("bitrate");
    if (bitrate && bitrate->IsIntegral() && bitrate->number > 0 && bitrate->number < kLargestBitrate) {
        Text quality;
        quality.AppendNumber(static_cast<long>(bitrate->number));
        quality += " kbit/s";
        SetField(record.quality, quality.c_str());
    }
    return true;
}

Text DirectoryFavicon(const JsonValue& station) {
    Text favicon = station.StringMember("favicon");
    return IsPlaylistStreamAddress(favicon) && strncmp(favicon.c_str(), "mms", 3) != 0 ? favicon : Text();
}
