// A side file of the check of the streams, whatever a disk or a hand left
// in it. Properties: reading never fails whatever the bytes, and a result
// that was taken is written as a line that reads back to the same result.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "catalogue/portable/stream_states.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int today = DayNumber(2026, 12, 8);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    StreamStates states;
    states.Read(bytes.data(), bytes.size(), today);
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(at, end - at);
        at = end + 1;
        const size_t tab = line.rfind('\t');
        if (tab == std::string::npos) continue;
        const std::string address = line.substr(tab + 1);
        const CheckState* state = states.Find(address.c_str());
        if (state == nullptr || address.find('\r') != std::string::npos) continue;
        Text written;
        states.AppendLine(written, address.c_str());
        StreamStates again;
        again.Read(written.c_str(), written.size(), today);
        const CheckState* back = again.Find(address.c_str());
        FUZZ_CHECK(back != nullptr);
        FUZZ_CHECK(back->verdict == state->verdict && back->day == state->day);
        FUZZ_CHECK(back->reason == state->reason);
        FUZZ_CHECK(state->day <= today && today - state->day <= kCheckLifetimeDays);
    }
    return 0;
}
