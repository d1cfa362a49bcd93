// A whole ".rtv" file as the plugin reads it. Properties: a file the reader
// takes gives exactly its whole records, byte for byte apart from the
// terminator the reader puts into a field that had none; writing them out
// and reading them back gives the same records again.
#include <cstring>
#include <memory>
#include <vector>

#include "catalogue/portable/list_file_format.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool Take(void* context, StreamRecord* record) {
    static_cast<std::vector<std::unique_ptr<StreamRecord>>*>(context)->emplace_back(record);
    return true;
}

struct Cursor {
    const std::vector<std::unique_ptr<StreamRecord>>* records;
    size_t next;
};

const StreamRecord* Next(void* context) {
    auto* c = static_cast<Cursor*>(context);
    return c->next < c->records->size() ? (*c->records)[c->next++].get() : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputFile input(data, size, ".rtv");
    std::vector<std::unique_ptr<StreamRecord>> records;
    ListReadResult result = ReadListFile(input.Path().c_str(), &Take, &records);

    if (size == 0) FUZZ_CHECK(result == ListReadResult::Empty);
    if (result != ListReadResult::Read) {
        FUZZ_CHECK(records.empty());
        return 0;
    }
    FUZZ_CHECK(size >= sizeof(ListFileHeader));
    ListFileHeader header;
    memcpy(&header, data, sizeof header);
    FUZZ_CHECK(IsValidListHeader(header));
    FUZZ_CHECK(records.size() == (size - sizeof header) / sizeof(StreamRecord));
    for (size_t i = 0; i < records.size(); ++i) {
        StreamRecord expected;
        memcpy(&expected, data + sizeof header + i * sizeof(StreamRecord), sizeof expected);
        TerminateTextFields(expected);
        FUZZ_CHECK(memcmp(&expected, records[i].get(), sizeof expected) == 0);
    }

    InputFile copy(nullptr, 0, ".copy.rtv");
    Cursor cursor{&records, 0};
    FUZZ_CHECK(WriteListFile(copy.Path().c_str(), header, &Next, &cursor));
    std::vector<std::unique_ptr<StreamRecord>> again;
    FUZZ_CHECK(ReadListFile(copy.Path().c_str(), &Take, &again) == ListReadResult::Read);
    FUZZ_CHECK(again.size() == records.size());
    for (size_t i = 0; i < records.size(); ++i) FUZZ_CHECK(memcmp(again[i].get(), records[i].get(), sizeof(StreamRecord)) == 0);
    return 0;
}
