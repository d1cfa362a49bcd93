#include "catalogue/portable/playlist_stations.h"

#include <new>

namespace {

struct StationMaking {
    AddressIndex& known;
    size_t room;
    bool utf8;
    PlaylistStations& stations;
    PlaylistTally& tally;
    bool anyEntry = false;
    bool outOfMemory = false;
};

bool TakeEntry(void* context, const PlaylistEntry& entry) {
    auto& making = *static_cast<StationMaking*>(context);
    making.anyEntry = true;
    if (!IsPlaylistStreamAddress(entry.address)) {
        ++making.tally.ignored;
        return true;
    }
    // Compared as the record will keep it: trimmed, converted and cut.
    const Text address = RecordText(entry.address, making.utf8);
    if (making.known.Contains(address.c_str())) {
        ++making.tally.present;
        return true;
    }
    if (making.stations.records.size() >= making.room || !making.known.Insert(address.c_str())) {
        ++making.tally.leftOut;
        return true;
    }
    StreamRecord* record = new (std::nothrow) StreamRecord;
    if (!record) {
        making.outOfMemory = true;
        return false;
    }
    MakePlaylistRecord(entry, making.utf8, *record);
    making.stations.records.push_back(record);
    return true;
}

}  // namespace

PlaylistStations::~PlaylistStations() {
    for (StreamRecord* record : records) delete record;
}

PlaylistReading MakePlaylistStations(Text& text, AddressIndex& known, size_t room, PlaylistStations& stations,
                                     PlaylistTally& tally) {
    const ListFormat format = RecogniseListFormat(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    if (!known.Usable() || !DecodePlaylistText(text)) return PlaylistReading::OutOfMemory;
    PlaylistTally counted;
    StationMaking making{known, room, IsUtf8PlaylistText(format, text), stations, counted};
    stations.records.reserve(room);
    VisitPlaylistEntries(format, text, &TakeEntry, &making);
    if (making.outOfMemory) {
        for (StreamRecord*& record : stations.records) delete record;
        stations.records.clear();
        return PlaylistReading::OutOfMemory;
    }
    tally.present += counted.present;
    tally.ignored += counted.ignored;
    tally.leftOut += counted.leftOut;
    return making.anyEntry ? PlaylistReading::Read : PlaylistReading::NoEntry;
}
