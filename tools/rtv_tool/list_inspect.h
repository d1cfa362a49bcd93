// Checking and printing any ".rtv" list file, including broken ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"

struct ListCheck {
    bool valid = false;                  // the plugin would read it, and every record is sound
    bool headerRead = false;
    ListFileHeader header = {};
    size_t recordCount = 0;              // whole records after the header
    size_t trailingBytes = 0;            // bytes after the last whole record (ignored by the plugin)
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
};

constexpr size_t kMaxReportedRecordFaults = 20;

// Checks a list file held in memory: header (the plugin's own test: version
// at least 1, header size exactly 64), then each record (every text field
// terminated within its 260 bytes, kind 0 or 1). A trailing partial record,
// a count that differs from the records, more records than the catalogue
// holds and records without name or playable address are warnings.
ListCheck CheckListBytes(const uint8_t* data, size_t size);

// Reads a whole file; false, with a message, when it cannot.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Reads and checks a file: a missing file is an error like any other.
ListCheck CheckListFile(const std::string& path);

// The header and every record as UTF-8 text: texts, kind and colour.
std::string DumpListBytes(const uint8_t* data, size_t size);
