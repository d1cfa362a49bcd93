#include "tools/rtv_tool/list_inspect.h"

#include "catalogue/portable/link_policy.h"

#include <cstdio>
#include <cstring>

#include "catalogue/portable/list_file_format.h"
#include "tools/rtv_tool/text_conversion.h"

namespace {

struct NamedField {
    const char* name;
    size_t offset;
};
const NamedField kTextFields[] = {
    {"name", offsetof(StreamRecord, name)},         {"slogan", offsetof(StreamRecord, slogan)},
    {"address", offsetof(StreamRecord, address)},   {"website", offsetof(StreamRecord, website)},
    {"podcast", offsetof(StreamRecord, podcast)},   {"playlist", offsetof(StreamRecord, playlist)},
    {"quality", offsetof(StreamRecord, quality)},   {"format", offsetof(StreamRecord, format)},
    {"keywords", offsetof(StreamRecord, keywords)},
};

std::string Text(const char* field, size_t size) {
    const void* end = memchr(field, 0, size);
    size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : size;
    return Windows1252ToUtf8(field, length);
}

std::string RecordLabel(size_t i, const StreamRecord& r) {
    std::string label = "record " + std::to_string(i + 1);
    if (memchr(r.name, 0, kTextFieldSize) && r.name[0]) label += " (" + Text(r.name, kTextFieldSize) + ")";
    return label;
}

std::string Format(const char* format, unsigned value) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

}  // namespace

bool ListChecker::Feed(const uint8_t* data, size_t size) {
    while (size > 0 && !refused_) {
        const size_t want = (check_.headerRead ? sizeof(StreamRecord) : sizeof(ListFileHeader)) - pendingSize_;
        const size_t take = size < want ? size : want;
        memcpy(pending_ + pendingSize_, data, take);
        pendingSize_ += take;
        total_ += take;
        data += take;
        size -= take;
        if (take < want) break;
        if (!check_.headerRead) {
            CheckHeader();
        } else {
            CheckRecord();
        }
        pendingSize_ = 0;
    }
    return !refused_;
}

void ListChecker::CheckHeader() {
    memcpy(&check_.header, pending_, sizeof check_.header);
    check_.headerRead = true;
    if (check_.header.version < 1) {
        check_.errors.push_back("bad version " + std::to_string(check_.header.version) + " (must be 1 or more)");
    }
    if (check_.header.headerSize != kListHeaderSize) {
        check_.errors.push_back("bad header size " + std::to_string(check_.header.headerSize) + " (must be 64)");
    }
    if (!check_.errors.empty()) refused_ = true;
}

void ListChecker::CheckRecord() {
    if (check_.recordCount >= kMaxCheckedRecords) {
        check_.stopped = true;
        refused_ = true;
        check_.errors.push_back("more than " + std::to_string(kMaxCheckedRecords) +
                                " records, far beyond any list: stopped reading");
        return;
    }
    StreamRecord record;
    memcpy(&record, pending_, sizeof record);
    const size_t i = check_.recordCount++;
    auto fault = [&](const std::string& message) {
        if (faults_++ < kMaxReportedRecordFaults) check_.errors.push_back(message);
    };
    const char* base = reinterpret_cast<const char*>(&record);
    bool terminated = true;
    for (const NamedField& f : kTextFields) {
        if (memchr(base + f.offset, 0, kTextFieldSize) == nullptr) {
            fault(RecordLabel(i, record) + ": the " + f.name + " field has no terminator within its 260 bytes");
            terminated = false;
        }
    }
    if (record.kind != kStreamKindRadio && record.kind != kStreamKindTv) {
        fault(RecordLabel(i, record) + ": kind " + std::to_string(record.kind) +
              " is neither 0 (radio) nor 1 (television)");
    }
    if (visit_) visit_(i, record);
    if (!terminated || warned_ >= kMaxReportedRecordFaults) return;
    if (record.name[0] == 0) {
        check_.warnings.push_back(RecordLabel(i, record) + ": no name");
        ++warned_;
    }
    if (!IsStreamAddress(record.address)) {
        check_.warnings.push_back(RecordLabel(i, record) + ": the address holds none of http://, https:// and mms://");
        ++warned_;
    }
}

ListCheck ListChecker::Finish() {
    ListCheck check = check_;
    if (total_ == 0) {
        check.errors.push_back("the file is empty");
        return check;
    }
    if (!check.headerRead) {
        check.errors.push_back("the file has " + std::to_string(total_) + " bytes, shorter than the 64-byte header");
        return check;
    }
    if (refused_ && !check.stopped) return check;   // a bad header: nothing after it was read
    std::vector<std::string> warnings;
    if (!check.stopped) {
        check.trailingBytes = pendingSize_;
        if (check.trailingBytes) {
            warnings.push_back(std::to_string(check.trailingBytes) +
                               " bytes after the last whole record (a partial record, ignored by the plugin)");
        }
    }
    if (memchr(check.header.listName, 0, sizeof check.header.listName) == nullptr) {
        warnings.push_back("the list name in the header is not terminated");
    }
    if (!check.stopped && (check.header.count < 0 || static_cast<size_t>(check.header.count) != check.recordCount)) {
        warnings.push_back("the header counts " + std::to_string(check.header.count) + " records, the file holds " +
                           std::to_string(check.recordCount));
    }
    if (check.recordCount > static_cast<size_t>(kMaxSlots)) {
        warnings.push_back(std::string(check.stopped ? "more than " : "") + std::to_string(check.recordCount) +
                           " records: the plugin keeps only the first 4096");
    }
    // The findings about the whole file come before those about single records.
    warnings.insert(warnings.end(), check.warnings.begin(), check.warnings.end());
    check.warnings = warnings;
    if (faults_ > kMaxReportedRecordFaults) {
        check.errors.push_back("... and " + std::to_string(faults_ - kMaxReportedRecordFaults) + " more faults in records");
    }
    check.valid = check.errors.empty();
    return check;
}

ListCheck CheckListBytes(const uint8_t* data, size_t size) {
    ListChecker checker;
    checker.Feed(data, size);
    return checker.Finish();
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error, size_t most) {
    bytes.clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    uint8_t buffer[65536];
    size_t got;
    bool tooLarge = false;
    while (!tooLarge && (got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        tooLarge = bytes.size() + got > most;
        if (!tooLarge) bytes.insert(bytes.end(), buffer, buffer + got);
    }
    bool failed = ferror(file) != 0;
    fclose(file);
    if (failed) error = "cannot read " + path;
    else if (tooLarge) error = path + ": larger than " + std::to_string(most >> 20) + " MB: stopped reading";
    return !failed && !tooLarge;
}

ListCheck CheckListFile(const std::string& path, const RecordVisitor& visit) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ListCheck check;
        check.errors.push_back("cannot open " + path);
        return check;
    }
    ListChecker checker(visit);
    uint8_t buffer[65536];
    size_t got;
    bool more = true;
    while (more && (got = fread(buffer, 1, sizeof buffer, file)) > 0) more = checker.Feed(buffer, got);
    bool failed = ferror(file) != 0;
    fclose(file);
    ListCheck check = checker.Finish();
    if (failed) {
        check.errors.push_back("cannot read " + path);
        check.valid = false;
    }
    return check;
}

std::string DumpHeader(const ListCheck& check) {
    if (!check.headerRead) return "";
    const ListFileHeader& h = check.header;
    return "version " + std::to_string(h.version) + ", header size " + std::to_string(h.headerSize) + ", count " +
           std::to_string(h.count) + ", list name \"" + Text(h.listName, sizeof h.listName) + "\"\n";
}

std::string DumpRecord(size_t i, const StreamRecord& r) {
    const char* kind = r.kind == kStreamKindRadio ? "radio" : r.kind == kStreamKindTv ? "tv" : "?";
    std::string out = "\n[" + std::to_string(i + 1) + "] index " + std::to_string(r.index) + ", kind " +
                      std::to_string(r.kind) + " (" + kind + "), transparent colour " +
                      Format("%06X", static_cast<uint32_t>(r.transparentColour)) + "\n";
    const char* base = reinterpret_cast<const char*>(&r);
    for (const NamedField& f : kTextFields) {
        std::string text = Text(base + f.offset, kTextFieldSize);
        if (!text.empty()) out += std::string("  ") + f.name + ": " + text + "\n";
    }
    return out;
}

std::string DumpFindings(const ListCheck& check) {
    std::string out;
    for (const std::string& w : check.warnings) out += "warning: " + w + "\n";
    for (const std::string& e : check.errors) out += "error: " + e + "\n";
    return out;
}

std::string DumpListBytes(const uint8_t* data, size_t size) {
    std::string records;
    ListChecker checker([&](size_t i, const StreamRecord& r) { records += DumpRecord(i, r); });
    checker.Feed(data, size);
    ListCheck check = checker.Finish();
    std::string out = DumpHeader(check);
    if (check.headerRead) out += std::to_string(check.recordCount) + " records\n";
    return out + records + DumpFindings(check);
}
