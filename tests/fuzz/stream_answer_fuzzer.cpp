// A stream server's first bytes, whatever a server sends. Properties: the
// head is read within the bytes (its body starts inside them), a complete
// head is judged without reading past them, a playlist gives at most the
// entries checked, and a redirect always names where to.
#include <cstddef>
#include <cstdint>

#include "catalogue/portable/stream_answer.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    AnswerHead head;
    if (ReadAnswerHead(bytes, size, head) != HeadReading::Complete) return 0;
    FUZZ_CHECK(head.bodyStart <= size);
    const bool television = size > 0 && (data[0] & 1);
    const StreamJudgement judgement =
        JudgeAnswer(head, bytes + head.bodyStart, size - head.bodyStart, television, Text("http://r.example/a.pls"));
    FUZZ_CHECK(judgement.entries.size() <= kMaxPlaylistEntriesChecked);
    if (judgement.verdict == StreamVerdict::Redirect) FUZZ_CHECK(!judgement.next.empty());
    if (judgement.verdict == StreamVerdict::Playlist) FUZZ_CHECK(!judgement.entries.empty());
    return 0;
}
