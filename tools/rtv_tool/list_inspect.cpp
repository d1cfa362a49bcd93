#include "tools/rtv_tool/list_inspect.h"

#include "catalogue/portable/link_policy.h"

#include <cstdio>
#include <cstring>

#include "catalogue/portable/list_file_format.h"
#include "tools/rtv_tool/text_encoding.h"

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

ListCheck CheckListBytes(const uint8_t* data, size_t size) {
    ListCheck check;
    if (size == 0) {
        check.errors.push_back("the file is empty");
        return check;
    }
    if (size < sizeof(ListFileHeader)) {
        check.errors.push_back("the file has " + std::to_string(size) + " bytes, shorter than the 64-byte header");
        return check;
    }
    memcpy(&check.header, data, sizeof check.header);
    check.headerRead = true;
    if (check.header.version < 1) {
        check.errors.push_back("bad version " + std::to_string(check.header.version) + " (must be 1 or more)");
    }
    if (check.header.headerSize != kListHeaderSize) {
        check.errors.push_back("bad header size " + std::to_string(check.header.headerSize) + " (must be 64)");
    }
    if (!check.errors.empty()) return check;

    size_t body = size - sizeof(ListFileHeader);
    check.recordCount = body / sizeof(StreamRecord);
    check.trailingBytes = body % sizeof(StreamRecord);
    if (check.trailingBytes) {
        check.warnings.push_back(std::to_string(check.trailingBytes) +
                                 " bytes after the last whole record (a partial record, ignored by the plugin)");
    }
    if (memchr(check.header.listName, 0, sizeof check.header.listName) == nullptr) {
        check.warnings.push_back("the list name in the header is not terminated");
    }
    if (check.header.count < 0 || static_cast<size_t>(check.header.count) != check.recordCount) {
        check.warnings.push_back("the header counts " + std::to_string(check.header.count) + " records, the file holds " +
                                 std::to_string(check.recordCount));
    }
    if (check.recordCount > static_cast<size_t>(kMaxSlots)) {
        check.warnings.push_back(std::to_string(check.recordCount) + " records: the plugin keeps only the first 4096");
    }

    size_t faults = 0, warned = 0;
    auto fault = [&](const std::string& message) {
        if (faults++ < kMaxReportedRecordFaults) check.errors.push_back(message);
    };
    for (size_t i = 0; i < check.recordCount; ++i) {
        StreamRecord record;
        memcpy(&record, data + sizeof(ListFileHeader) + i * sizeof(StreamRecord), sizeof record);
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
        if (!terminated || warned >= kMaxReportedRecordFaults) continue;
        if (record.name[0] == 0) {
            check.warnings.push_back(RecordLabel(i, record) + ": no name");
            ++warned;
        }
        if (!IsStreamAddress(record.address)) {
            check.warnings.push_back(RecordLabel(i, record) + ": the address holds none of http://, https:// and mms://");
            ++warned;
        }
    }
    if (faults > kMaxReportedRecordFaults) {
        check.errors.push_back("... and " + std::to_string(faults - kMaxReportedRecordFaults) + " more faults in records");
    }
    check.valid = check.errors.empty();
    return check;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    uint8_t buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    bool failed = ferror(file) != 0;
    fclose(file);
    if (failed) error = "cannot read " + path;
    return !failed;
}

ListCheck CheckListFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        ListCheck check;
        check.errors.push_back(error);
        return check;
    }
    return CheckListBytes(bytes.data(), bytes.size());
}

std::string DumpListBytes(const uint8_t* data, size_t size) {
    ListCheck check = CheckListBytes(data, size);
    std::string out;
    if (check.headerRead) {
        const ListFileHeader& h = check.header;
        out += "version " + std::to_string(h.version) + ", header size " + std::to_string(h.headerSize) +
               ", count " + std::to_string(h.count) + ", list name \"" +
               Text(h.listName, sizeof h.listName) + "\"\n";
        out += std::to_string(check.recordCount) + " records\n";
    }
    bool bodyReadable = check.headerRead && check.header.version >= 1 && check.header.headerSize == kListHeaderSize;
    for (size_t i = 0; bodyReadable && i < check.recordCount; ++i) {
        StreamRecord r;
        memcpy(&r, data + sizeof(ListFileHeader) + i * sizeof(StreamRecord), sizeof r);
        const char* kind = r.kind == kStreamKindRadio ? "radio" : r.kind == kStreamKindTv ? "tv" : "?";
        out += "\n[" + std::to_string(i + 1) + "] index " + std::to_string(r.index) + ", kind " +
               std::to_string(r.kind) + " (" + kind + "), transparent colour " +
               Format("%06X", static_cast<uint32_t>(r.transparentColour)) + "\n";
        const char* base = reinterpret_cast<const char*>(&r);
        for (const NamedField& f : kTextFields) {
            std::string text = Text(base + f.offset, kTextFieldSize);
            if (!text.empty()) out += std::string("  ") + f.name + ": " + text + "\n";
        }
    }
    for (const std::string& w : check.warnings) out += "warning: " + w + "\n";
    for (const std::string& e : check.errors) out += "error: " + e + "\n";
    return out;
}
