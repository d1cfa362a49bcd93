// Playlists of any bytes, in each format. Properties: every entry read gives
// a record whose texts fit their fields, hold no control byte and keep the
// address's scheme, and a stream address always gives a named station; made
// into stations, records never pass the room and every entry is counted once.
#include <cstring>

#include "catalogue/portable/playlist_import.h"
#include "catalogue/portable/playlist_stations.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ListFormat found = RecogniseListFormat(data, size);
    FUZZ_CHECK(found == RecogniseListFormat(data, size));
    for (ListFormat format : {ListFormat::M3u, ListFormat::Pls, ListFormat::Xspf}) {
        bool utf8 = false;
        for (const PlaylistEntry& entry : ReadPlaylistEntries(format, data, size, &utf8)) {
            FUZZ_CHECK(!entry.address.empty());
            StreamRecord record;
            MakePlaylistRecord(entry, utf8, record);
            for (const char* field : {record.name, record.address, record.website}) {
                const size_t length = strnlen(field, kTextFieldSize);
                FUZZ_CHECK(length < kTextFieldSize);
                for (size_t k = 0; k < length; ++k) FUZZ_CHECK(static_cast<unsigned char>(field[k]) >= 0x20);
            }
            if (IsPlaylistStreamAddress(entry.address)) {
                FUZZ_CHECK(IsPlaylistStreamAddress(record.address));
                FUZZ_CHECK(record.name[0] != 0);
            }
        }
    }
    constexpr size_t kRoom = 3;
    AddressIndex known(kMaxSlots);
    PlaylistStations stations;
    PlaylistTally tally;
    Text text(reinterpret_cast<const char*>(data), size);
    if (MakePlaylistStations(text, known, kRoom, stations, tally) == PlaylistReading::Read && IsPlaylistFormat(found)) {
        FUZZ_CHECK(stations.records.size() <= kRoom);
        bool utf8 = false;
        const size_t entries = ReadPlaylistEntries(found, data, size, &utf8).size();
        FUZZ_CHECK(stations.records.size() + tally.present + tally.ignored + tally.leftOut == entries);
        for (const StreamRecord* record : stations.records) FUZZ_CHECK(known.Contains(record->address));
    }
    return 0;
}
