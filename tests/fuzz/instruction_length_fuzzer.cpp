// The instruction-length decoder on any bytes. Properties: a length is 0 or
// 1 to 15 and never more than the bytes given; given exactly its own bytes
// the instruction decodes to the same length; relocating it elsewhere and
// back gives the same bytes, and its branch reaches the same target.
#include <cstring>

#include "scrollbars/portable/instruction_length.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    uint32_t from, to;
    memcpy(&from, data, 4);
    memcpy(&to, data + 4, 4);
    data += 8;
    size -= 8;

    X86Instruction d;
    const int length = DecodeInstruction(data, size, &d);
    FUZZ_CHECK(length >= 0 && length <= kMaxInstructionLength);
    FUZZ_CHECK(static_cast<size_t>(length) <= size);
    if (length == 0) return 0;
    FUZZ_CHECK(d.length == length && d.opcodeOffset < length);
    FUZZ_CHECK(DecodeInstruction(data, static_cast<size_t>(length), nullptr) == length);
    if (length > 1) FUZZ_CHECK(DecodeInstruction(data, static_cast<size_t>(length - 1), nullptr) == 0);

    uint8_t moved[kMaxInstructionLength];
    if (RelocateInstruction(data, size, from, moved, sizeof moved, to) == 0) {
        FUZZ_CHECK(d.target == BranchTarget::kRelative && d.relativeSize < 4);   // only a short branch may not reach
        return 0;
    }
    if (d.target == BranchTarget::kRelative) {
        X86Instruction m;
        FUZZ_CHECK(DecodeInstruction(moved, length, &m) == length);
        FUZZ_CHECK(RelativeBranchTarget(m, moved, to) == RelativeBranchTarget(d, data, from));
    } else {
        FUZZ_CHECK(memcmp(moved, data, length) == 0);
    }
    uint8_t back[kMaxInstructionLength];
    FUZZ_CHECK(RelocateInstruction(moved, length, to, back, sizeof back, from) == length);
    FUZZ_CHECK(memcmp(back, data, length) == 0);
    return 0;
}
