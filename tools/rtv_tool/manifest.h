// Station manifests: UTF-8 text, one station a line, turned into the records
// of a ".rtv" list. Fields, separated by '|', spaces around them ignored:
//
//   kind | name | stream address | web site | playlist | podcast | slogan |
//   keywords | format | quality | logo | transparent colour
//
// kind is "radio" or "tv"; name and stream address are required, the stream
// address containing "http://" or "mms://"; web site, playlist and podcast are
// empty or begin with "http://" (the checks of the plugin's own editor, so an
// entry stays editable there). Every text must fit in Windows-1252 and in 259
// bytes. logo is a .bmp path relative to the manifest, or "initials:RRGGBB"
// (letters from the name) or "initials:RRGGBB:ABC" (1 to 3 of A-Z 0-9), or
// empty (initials on grey). transparent colour is hexadecimal RRGGBB, empty
// for FF00FF. Blank lines and lines starting with '#' are ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"

constexpr int kManifestFieldCount = 12;
constexpr uint32_t kDefaultTransparentColour = 0xFF00FF;
constexpr uint32_t kDefaultLogoColour = 0x607080;

struct ManifestEntry {
    int line = 0;
    int16_t kind = kStreamKindRadio;
    // Windows-1252 texts.
    std::string name, address, website, playlist, podcast, slogan, keywords, format, quality;
    bool logoFromFile = false;
    std::string logoPath;          // as written (UTF-8), when logoFromFile
    std::string initials;          // A-Z 0-9, otherwise
    uint32_t logoColour = kDefaultLogoColour;
    uint32_t transparentColour = kDefaultTransparentColour;
};

enum class LineResult { Entry, Skipped, Error };

// Parses one manifest line (without its line end). On Error, `error` reads
// "line N: <what is wrong>".
LineResult ParseManifestLine(const std::string& line, int lineNumber, ManifestEntry& entry, std::string& error);

// Reads a whole manifest. Returns false when it cannot be read or any line is
// wrong; `errors` then holds one message per fault, "<path>:<line>: ...".
bool ReadManifest(const std::string& path, std::vector<ManifestEntry>& entries, std::vector<std::string>& errors);

// Fills a zero-filled record from an entry; a logo file is looked up
// relative to `baseFolder` (empty, or ending with a separator).
bool MakeRecord(const ManifestEntry& entry, const std::string& baseFolder, StreamRecord& record, std::string& error);

// The folder part of a path, with its trailing separator ("" for none).
std::string FolderOf(const std::string& path);

// Reads the manifest and writes the list file (replacing it only once the new
// one is complete). `listName` is UTF-8, at most 31 bytes in Windows-1252;
// empty takes the output's base name. Messages go to `errors`.
bool BuildListFile(const std::string& manifestPath, const std::string& outPath, const std::string& listName,
                   std::vector<std::string>& errors, int* recordCount = nullptr);
