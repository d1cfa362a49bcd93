// Lists to and from what other software reads and writes: playlists (M3U,
// PLS, XSPF), the JSON export of the public radio directory, and the
// manifest text this tool builds lists from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/portable/stream_record.h"

struct ImportResult {
    std::vector<std::unique_ptr<StreamRecord>> records;
    int ignored = 0;    // entries without a stream address the plugin takes
    int leftOut = 0;    // beyond the catalogue's 4096
    int present = 0;    // an address taken already (scheme and host in any case, a trailing slash aside)
    int repaired = 0;   // JSON values that could not be read as they stood: repaired or left out
    std::string error;  // set when the input is none of the formats
    std::unordered_set<std::string> addresses;   // those taken, as compared
};

// Records from a playlist or a directory export (a JSON array of objects
// with name, url_resolved or url, homepage, tags, codec and bitrate): tags
// become keywords, codec the format, the bitrate "N kbit/s" the quality.
// Logos are drawn from the names' initials. One bad value does not refuse a
// directory export: a Windows-1252 byte in a text is read as that character,
// a number beyond range becomes no value, and both are counted.
ImportResult ImportStations(const uint8_t* data, size_t size);

// The JSON text with those repairs made, `repaired` counting them.
std::string RepairedJson(const std::string& text, int& repaired);

enum class PlaylistKind { M3u, Pls, Xspf };

// The playlist kind a file name asks for, from its extension; false for none.
bool PlaylistKindOf(const std::string& path, PlaylistKind& kind);

// A playlist of the records, UTF-8, with their names as titles.
std::string ExportPlaylist(const std::vector<StreamRecord>& records, PlaylistKind kind);

// One manifest line for a record (UTF-8, the logo field left empty: a logo's
// pixels cannot be written as text). `notes` gets what the line cannot say
// the way the record holds it, so that rebuilding would differ.
std::string ManifestLine(const StreamRecord& record, std::vector<std::string>& notes);
