// Checking and printing any ".rtv" list file, including broken ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"

struct ListCheck {
    bool valid = false;                  // the plugin would read it, and every record is sound
    bool headerRead = false;
    ListFileHeader header = {};
    size_t recordCount = 0;              // whole records after the header
    size_t trailingBytes = 0;            // bytes after the last whole record (ignored by the plugin)
    bool stopped = false;                // reading gave up: far more than any list holds
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
};

constexpr size_t kMaxReportedRecordFaults = 20;
// Reading stops after this many records: four times what the plugin keeps,
// so an endless or huge input ends with a message instead of filling memory.
constexpr size_t kMaxCheckedRecords = 4 * static_cast<size_t>(kMaxSlots);

// Sees each whole record as it is read, numbered from 0.
using RecordVisitor = std::function<void(size_t index, const StreamRecord& record)>;

// Checks a list a piece at a time, holding at most one record: the header
// first, then each record as it completes, up to kMaxCheckedRecords.
class ListChecker {
public:
    explicit ListChecker(RecordVisitor visit = nullptr) : visit_(std::move(visit)) {}
    // False once the checker wants no more input (a bad header, or the limit).
    bool Feed(const uint8_t* data, size_t size);
    ListCheck Finish();

private:
    void CheckHeader();
    void CheckRecord();

    RecordVisitor visit_;
    ListCheck check_;
    uint8_t pending_[sizeof(StreamRecord)] = {};
    size_t pendingSize_ = 0;
    uint64_t total_ = 0;
    bool refused_ = false;
    size_t faults_ = 0;
    size_t warned_ = 0;
};

// Checks a list file held in memory: header (the plugin's own test: version
// at least 1, header size exactly 64), then each record (every text field
// terminated within its 260 bytes, kind 0 or 1). A trailing partial record,
// a count that differs from the records, more records than the catalogue
// holds and records without name or playable address are warnings.
ListCheck CheckListBytes(const uint8_t* data, size_t size);

// Reads a whole file of at most `most` bytes; false, with a message, when it
// cannot or when the file is longer (endless input stops there).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error, size_t most);

// Reads and checks a file in pieces: a missing file is an error like any other.
ListCheck CheckListFile(const std::string& path, const RecordVisitor& visit = nullptr);

// One record as UTF-8 text: its number, index, kind, colour and texts.
std::string DumpRecord(size_t index, const StreamRecord& record);
// The header line of a dump, and the findings that end it.
std::string DumpHeader(const ListCheck& check);
std::string DumpFindings(const ListCheck& check);

// The header and every record as UTF-8 text: texts, kind and colour.
std::string DumpListBytes(const uint8_t* data, size_t size);
