// JSON of any bytes. Properties: the plugin's reader accepts exactly what
// nlohmann accepts (but for nesting deeper than it goes, which it refuses,
// and for a NUL byte, where nlohmann stops reading as at the end),
// every string it keeps is well-formed UTF-8, and a second reading of the
// same bytes gives the same verdict.
#include <cstring>

#include "catalogue/portable/json_reader.h"
#include "catalogue/portable/text_encoding.h"
#include "nlohmann/json.hpp"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool StringsAreUtf8(const JsonValue& value, int depth) {
    if (depth > kMaxJsonDepth) return false;
    if (!IsValidUtf8(value.text.data(), value.text.size()) && value.kind == JsonKind::String) return false;
    if (!IsValidUtf8(value.key.data(), value.key.size())) return false;
    for (const JsonValue* item = value.child; item; item = item->next)
        if (!StringsAreUtf8(*item, depth + 1)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    JsonDocument mine;
    const bool accepted = mine.Parse(text, size);
    JsonDocument again;
    FUZZ_CHECK(again.Parse(text, size) == accepted);
    if (accepted) FUZZ_CHECK(StringsAreUtf8(*mine.Root(), 0));
    if (memchr(data, 0, size) || mine.Error() == JsonError::Depth || mine.Error() == JsonError::OutOfMemory) return 0;
    const bool theirs = !nlohmann::json::parse(text, text + size, nullptr, false).is_discarded();
    FUZZ_CHECK(accepted == theirs);
    return 0;
}
