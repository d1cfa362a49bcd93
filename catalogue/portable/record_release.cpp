#include "catalogue/portable/record_release.h"

#include <cstdint>

#include "catalogue/portable/stream_record.h"

bool PointsIntoRecord(const void* pointer, const StreamRecord* record) {
    if (pointer == nullptr || record == nullptr) return false;
    auto p = reinterpret_cast<uintptr_t>(pointer);
    auto start = reinterpret_cast<uintptr_t>(record);
    return p >= start && p < start + sizeof(StreamRecord);
}
