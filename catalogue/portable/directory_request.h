// What the plugin asks the public radio directory, as its API documents it:
// the station search with the dialog's criteria, the click-count request for
// a station played, and the servers to ask. Platform-free: the network is
// the caller's.
#pragma once

#include <cstddef>
#include <vector>

#include "catalogue/portable/text.h"

// One page of results, most clicked first.
constexpr int kDirectoryPageSize = 100;

struct DirectorySearch {
    Text name;
    Text tag;
    Text country;    // a two-letter code, or a country's name
    Text language;
    bool onlyAnswering = true;   // "Seulement les flux qui répondent": the directory's hidebroken
    int offset = 0;              // "Suite" moves it on by a page
};

// The path and query of the station search: "/json/stations/search?name=...".
Text DirectorySearchPath(const DirectorySearch& search);

// The request that counts a listen of the station with this uuid: "/json/url/<uuid>";
// empty for a uuid that is not one (only letters, digits and '-').
Text DirectoryClickPath(const Text& stationUuid);

// Base addresses of the directory's servers from "annuaire.txt": one a line,
// http(s) only, blanks and '#' comments skipped, a trailing slash dropped.
std::vector<Text> DirectoryServersFromText(const char* text, size_t size);

// %XX for every byte but the unreserved ones (RFC 3986), UTF-8 as it is.
Text PercentEncoded(const Text& text);
