// One line of a station manifest. Properties: an accepted line gives texts
// that fit a record (at most 259 bytes), a kind of radio or television and a
// stream address; making its record never overruns and keeps the texts.
#include <cstring>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "tools/rtv_tool/manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    ManifestEntry entry;
    std::string error;
    LineResult result = ParseManifestLine(line, 1, entry, error);
    if (result == LineResult::Error) {
        FUZZ_CHECK(error.rfind("line 1: ", 0) == 0);
        return 0;
    }
    if (result == LineResult::Skipped) return 0;
    FUZZ_CHECK(entry.kind == kStreamKindRadio || entry.kind == kStreamKindTv);
    for (const std::string* text : {&entry.name, &entry.address, &entry.website, &entry.playlist, &entry.podcast,
                                    &entry.slogan, &entry.keywords, &entry.format, &entry.quality}) {
        FUZZ_CHECK(text->size() < kTextFieldSize);
    }
    FUZZ_CHECK(!entry.name.empty() && !entry.address.empty());
    if (entry.logoFromFile) return 0;   // no files are read here
    StreamRecord record;
    memset(&record, 0, sizeof record);
    FUZZ_CHECK(MakeRecord(entry, "", record, error));
    FUZZ_CHECK(entry.name == record.name && entry.address == record.address && entry.keywords == record.keywords);
    return 0;
}
