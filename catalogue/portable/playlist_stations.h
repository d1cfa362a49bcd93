// A playlist made into catalogue records: one record for each new stream
// address, while the catalogue has room, and a count of everything else.
// Time follows the file's size and memory what is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalogue/portable/address_index.h"
#include "catalogue/portable/playlist_import.h"
#include "catalogue/portable/stream_record.h"

// The records made, owned until handed on (set to null) or freed with it.
struct PlaylistStations {
    std::vector<StreamRecord*> records;
    PlaylistStations() = default;
    PlaylistStations(const PlaylistStations&) = delete;
    PlaylistStations& operator=(const PlaylistStations&) = delete;
    ~PlaylistStations();
};

enum class PlaylistReading {
    Read,          // at least one entry was found (all may have been counted only)
    NoEntry,       // nothing in the file reads as an entry
    OutOfMemory,   // refused: nothing was made
};

// `known` holds the addresses already in the catalogue (none for an import)
// and takes those of the new records; `room` is how many more the catalogue
// takes. Entries that are no stream address count as ignored, known ones as
// present, new ones beyond the room as left out. The records' logos are
// left zero for the caller to fill.
// `text` is the file's bytes, decoded in place.
PlaylistReading MakePlaylistStations(Text& text, AddressIndex& known, size_t room, PlaylistStations& stations,
                                     PlaylistTally& tally);
