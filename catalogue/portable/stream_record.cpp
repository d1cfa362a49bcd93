#include "catalogue/portable/stream_record.h"

#include <cstring>

namespace {
using TextField = char (StreamRecord::*)[kTextFieldSize];
constexpr TextField kTextFields[] = {
    &StreamRecord::name,    &StreamRecord::slogan,   &StreamRecord::address,
    &StreamRecord::website, &StreamRecord::podcast,  &StreamRecord::playlist,
    &StreamRecord::quality, &StreamRecord::format,   &StreamRecord::keywords,
};
}  // namespace

int TerminateTextFields(StreamRecord& record) {
    int terminated = 0;
    for (TextField f : kTextFields) {
        char* field = record.*f;
        if (memchr(field, 0, kTextFieldSize) == nullptr) {
            field[kTextFieldSize - 1] = 0;
            ++terminated;
        }
    }
    return terminated;
}

size_t FieldLength(const char (&field)[kTextFieldSize]) {
    const void* end = memchr(field, 0, kTextFieldSize);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - field) : kTextFieldSize;
}

void SetField(char (&field)[kTextFieldSize], const char* text) {
    memset(field, 0, kTextFieldSize);
    if (text == nullptr) return;
    size_t n = strlen(text);
    if (n > kTextFieldSize - 1) n = kTextFieldSize - 1;
    memcpy(field, text, n);
}
