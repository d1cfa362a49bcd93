// Stations from the playlists that station sites and other players hand out
// (M3U and M3U8, PLS, XSPF): recognising a file's format from its content,
// reading its entries, and making catalogue records of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalogue/portable/stream_record.h"
#include "catalogue/portable/text.h"

enum class ListFormat {
    Unknown,
    Rtv,    // the plugin's own list file
    M3u,    // "#EXTM3U", or lines that are stream addresses
    Pls,    // "[playlist]"
    Xspf,   // "<playlist" (XML)
};

// What a file holds, judged from its first bytes: a valid ".rtv" header, or
// the mark of a playlist format after a byte-order mark (UTF-8 or UTF-16)
// and blank space.
ListFormat RecogniseListFormat(const uint8_t* data, size_t size);

inline bool IsPlaylistFormat(ListFormat format) {
    return format == ListFormat::M3u || format == ListFormat::Pls || format == ListFormat::Xspf;
}

// Larger files are refused before being read: no playlist of stations comes near.
constexpr size_t kMaxPlaylistBytes = 8u << 20;

// One entry as the playlist gives it, texts still in the file's encoding.
struct PlaylistEntry {
    Text address;
    Text title;     // may be empty
    Text website;   // XSPF "info", may be empty
};

// A playlist's bytes, in place, as its readers take them: UTF-16 with a
// byte-order mark (either order) becomes UTF-8 with one; other bytes stay
// as they are, uncopied. False, the text unchanged, when memory runs out.
bool DecodePlaylistText(Text& text);

// Whether a decoded playlist's texts are UTF-8: a byte-order mark, XSPF, or
// bytes that decode as UTF-8 throughout.
bool IsUtf8PlaylistText(ListFormat format, const Text& text);

// Takes one entry; false stops the reading (memory ran out).
using PlaylistEntrySink = bool (*)(void* context, const PlaylistEntry& entry);

// Hands the entries of a decoded playlist of a known format to `sink`, in
// file order, in time proportional to the text's size. What cannot be read
// is left out. False when the sink stopped it or memory ran out.
bool VisitPlaylistEntries(ListFormat format, const Text& text, PlaylistEntrySink sink, void* context);

// The entries of a playlist's bytes, all at once, for the tools and tests:
// decoded, visited and gathered. `utf8` as IsUtf8PlaylistText tells.
std::vector<PlaylistEntry> ReadPlaylistEntries(ListFormat format, const uint8_t* data, size_t size, bool* utf8);

// An address the catalogue takes from a playlist: http://, https:// or mms://.
bool IsPlaylistStreamAddress(const Text& address);

// The host part of an address ("radio.example" in "http://radio.example:8000/live").
Text HostOf(const Text& address);

// A text as a record field holds it: Windows-1252 ('?' for what it cannot
// hold), blanks around it removed, at most 259 bytes.
Text RecordText(const Text& text, bool utf8);

// A new record for a playlist entry: its title (or the address's host, or
// the address itself) as name, radio, its address, the XSPF web site when it is an http(s) address,
// key colour FF00FF. The logo is left zero for the caller to fill.
void MakePlaylistRecord(const PlaylistEntry& entry, bool utf8, StreamRecord& record);

// What one playlist brought to the catalogue.
struct PlaylistTally {
    int added = 0;
    int present = 0;    // the same address was in the catalogue already
    int ignored = 0;    // not a stream address the catalogue takes
    int leftOut = 0;    // the catalogue was full
    bool outOfMemory = false;   // the file was refused: too large for the memory there is
};

// What the user is told when the catalogue has no room left.
constexpr char kCatalogueFull[] = "La liste est remplie !";

// What the user is told when a playlist was refused for lack of memory.
extern const char kPlaylistOutOfMemory[];

// The result line of a playlist import or merge, in French: "3 flux ajoutés,
// 2 déjà présents, 1 ignoré" (counts that are 0 left out, but for the first).
Text DescribeTally(const PlaylistTally& tally);
