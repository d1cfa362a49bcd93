#include "scrollbars/portable/instruction_length.h"

#include <cstring>

namespace {

// What follows an opcode byte. An entry's fixed length is the opcode itself
// plus its fixed immediates (I8, I16); ModR/M, SIB, displacement and the
// size-dependent operands are added while decoding.
enum : uint32_t {
    __ = 0,         // opcode alone
    M = 1 << 0,     // ModR/M byte follows
    I8 = 1 << 1,    // 8-bit immediate
    I16 = 1 << 2,   // 16-bit immediate, whatever the operand size
    IZ = 1 << 3,    // immediate of the operand size: 4, or 2 after 0x66
    MO = 1 << 4,    // memory offset of the address size: 4, or 2 after 0x67
    R8 = 1 << 5,    // 8-bit relative branch operand
    RZ = 1 << 6,    // relative branch operand of the operand size: 4, or 2 after 0x66
    PF = 1 << 7,    // legacy prefix without effect on the length
    OS = 1 << 8,    // 0x66 operand-size prefix
    AS = 1 << 9,    // 0x67 address-size prefix
    ES = 1 << 10,   // 0x0F escape to the two-byte map
    GT = 1 << 11,   // F6/F7: immediate only for TEST (reg field 0, and its alias 1)
    XX = 1 << 12,   // no such instruction in 32-bit code
    T8 = 1 << 13,   // 0F 38: three-byte map, ModR/M, no immediate
    TA = 1 << 14,   // 0F 3A: three-byte map, ModR/M and an 8-bit immediate
    MR = 1 << 15,   // ModR/M that always names registers, whatever its mod bits
    I32 = 1 << 16,  // 32-bit immediate, whatever the operand size (XOP map 10 only)
};

constexpr uint32_t MI8 = M | I8;
constexpr uint32_t MIZ = M | IZ;
constexpr uint32_t FAR = I16 | IZ;   // ptr16:32 of far call and far jump
constexpr uint32_t ENT = I16 | I8;   // ENTER imm16, imm8

// The maps hold every flag but I32 (XOP map 10 only), so half-width entries
// do; a flag that did not fit would not compile in them.
using MapEntry = uint16_t;

// One-byte opcodes, laid out as the processor manuals' opcode map: row = high nibble.
constexpr MapEntry kOneByte[256] = {
    //  0    1    2    3    4    5    6    7    8    9    A    B    C    D    E    F
    M,   M,   M,   M,   I8,  IZ,  __,  __,  M,   M,   M,   M,   I8,  IZ,  __,  ES,   // 0
    M,   M,   M,   M,   I8,  IZ,  __,  __,  M,   M,   M,   M,   I8,  IZ,  __,  __,   // 1
    M,   M,   M,   M,   I8,  IZ,  PF,  __,  M,   M,   M,   M,   I8,  IZ,  PF,  __,   // 2
    M,   M,   M,   M,   I8,  IZ,  PF,  __,  M,   M,   M,   M,   I8,  IZ,  PF,  __,   // 3
    __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,   // 4
    __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  __,   // 5
    __,  __,  M,   M,   PF,  PF,  OS,  AS,  IZ,  MIZ, I8,  MI8, __,  __,  __,  __,   // 6
    R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,  R8,   // 7
    MI8, MIZ, MI8, MI8, M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // 8
    __,  __,  __,  __,  __,  __,  __,  __,  __,  __,  FAR, __,  __,  __,  __,  __,   // 9
    MO,  MO,  MO,  MO,  __,  __,  __,  __,  I8,  IZ,  __,  __,  __,  __,  __,  __,   // A
    I8,  I8,  I8,  I8,  I8,  I8,  I8,  I8,  IZ,  IZ,  IZ,  IZ,  IZ,  IZ,  IZ,  IZ,   // B
    MI8, MI8, I16, __,  M,   M,   MI8, MIZ, ENT, __,  I16, __,  __,  I8,  __,  __,   // C
    M,   M,   M,   M,   I8,  I8,  __,  __,  M,   M,   M,   M,   M,   M,   M,   M,    // D
    R8,  R8,  R8,  R8,  I8,  I8,  I8,  I8,  RZ,  RZ,  FAR, R8,  __,  __,  __,  __,   // E
    PF,  __,  PF,  PF,  __,  __,  M|GT,M|GT,__,  __,  __,  __,  __,  __,  M,   M,    // F
};

// Opcodes after 0x0F, same layout.
constexpr MapEntry kTwoByte[256] = {
    //  0    1    2    3    4    5    6    7    8    9    A    B    C    D    E    F
    M,   M,   M,   M,   XX,  __,  __,  __,  __,  __,  XX,  __,  XX,  M,   __,  MI8,  // 0
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // 1
    MR,  MR,  MR,  MR,  M,   XX,  M,   XX,  M,   M,   M,   M,   M,   M,   M,   M,    // 2
    __,  __,  __,  __,  __,  __,  XX,  __,  T8,  XX,  TA,  XX,  XX,  XX,  XX,  XX,   // 3
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // 4
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // 5
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // 6
    MI8, MI8, MI8, MI8, M,   M,   M,   __,  M,   M,   XX,  XX,  M,   M,   M,   M,    // 7
    RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,  RZ,   // 8
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // 9
    __,  __,  __,  M,   MI8, M,   MR,  MR,  __,  __,  __,  M,   MI8, M,   M,   M,    // A
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   MI8, M,   M,   M,   M,   M,    // B
    M,   M,   MI8, M,   MI8, MI8, MI8, M,   __,  __,  __,  __,  __,  __,  __,  __,   // C
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // D
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // E
    M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,   M,    // F
};

constexpr uint8_t kSegmentPrefixes[] = {0x26, 0x2E, 0x36, 0x3E, 0x64, 0x65};

// Opcode maps as VEX and XOP name them.
enum : uint8_t {
    kMapOneByte = 0,
    kMap0F = 1,
    kMap0F38 = 2,
    kMap0F3A = 3,
    kMapXop8 = 8,     // ModR/M and an 8-bit immediate
    kMapXop9 = 9,     // ModR/M
    kMapXopA = 10,    // ModR/M and a 32-bit immediate
};

// C4 and C5 are LES and LDS unless the next byte would be a register-form
// ModR/M, which those cannot take: then they begin a VEX prefix. 8F is POP
// r/m unless the next byte's reg field is not 0: then an XOP prefix.
bool StartsVex(uint8_t opcode, uint8_t next) { return (opcode == 0xC4 || opcode == 0xC5) && (next >> 6) == 3; }
bool StartsXop(uint8_t next) { return ((next >> 3) & 7) != 0; }
// 62 is BOUND unless the next byte would be a register-form ModR/M: then EVEX.
bool StartsEvex(uint8_t opcode, uint8_t next) { return opcode == 0x62 && (next >> 6) == 3; }

// What follows the opcode of a VEX or XOP instruction in `map`; XX for none.
uint32_t VexEntry(uint8_t map, uint8_t opcode) {
    switch (map) {
    case kMap0F: {
        const uint32_t entry = kTwoByte[opcode];
        // Branches, escapes and the rest that VEX cannot encode.
        return (entry & (RZ | T8 | TA | XX | ES)) ? static_cast<uint32_t>(XX) : entry;
    }
    case kMap0F38:
    case kMapXop9:
        return M;
    case kMap0F3A:
    case kMapXop8:
        return MI8;
    case kMapXopA:
        return M | I32;
    default:
        return XX;
    }
}

bool IsSegmentPrefix(uint8_t b) {
    for (uint8_t s : kSegmentPrefixes)
        if (s == b) return true;
    return false;
}

uint32_t ReadLittle(const uint8_t* p, int size) {
    uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k) value = (value << 8) | p[k];
    return value;
}

int32_t ReadSigned(const uint8_t* p, int size) {
    uint32_t raw = ReadLittle(p, size);
    if (size == 1) return static_cast<int8_t>(raw);
    if (size == 2) return static_cast<int16_t>(raw);
    return static_cast<int32_t>(raw);
}

void WriteLittle(uint8_t* p, int size, uint32_t value) {
    for (int k = 0; k < size; ++k) p[k] = static_cast<uint8_t>(value >> (8 * k));
}

// Bytes of SIB and displacement after a ModR/M byte.
int AddressingBytes(uint8_t modrm, const uint8_t* next, size_t left, bool address16, bool* truncated) {
    int mod = modrm >> 6;
    int rm = modrm & 7;
    if (mod == 3) return 0;
    if (address16) {
        if (mod == 1) return 1;
        if (mod == 2 || rm == 6) return 2;
        return 0;
    }
    int bytes = 0;
    if (rm == 4) {
        if (left < 1) {
            *truncated = true;
            return 0;
        }
        bytes = 1;
        if (mod == 0 && (next[0] & 7) == 5) return 1 + 4;
    }
    if (mod == 1) return bytes + 1;
    if (mod == 2 || (mod == 0 && rm == 5)) return bytes + 4;
    return bytes;
}

}  // namespace

int DecodeInstruction(const uint8_t* code, size_t available, X86Instruction* out) {
    X86Instruction d;
    std::memset(&d, 0, sizeof d);
    d.modrmOffset = -1;
    d.relativeOffset = -1;
    if (available > static_cast<size_t>(kMaxInstructionLength)) available = kMaxInstructionLength;

    size_t i = 0;
    uint32_t entry = 0;
    for (;;) {
        if (i >= available) return 0;
        uint8_t b = code[i];
        entry = kOneByte[b];
        if (entry & OS) {
            d.operandSizePrefix = true;
        } else if (entry & AS) {
            d.addressSizePrefix = true;
        } else if (entry & PF) {
            if (IsSegmentPrefix(b)) d.segmentPrefix = b;
            if (b == 0xF2 || b == 0xF3) d.repeatPrefix = b;
        } else {
            break;
        }
        ++i;
    }
    d.opcodeOffset = static_cast<int>(i);
    d.opcode = code[i++];
    if (d.opcode == 0xC4 || d.opcode == 0xC5 || d.opcode == 0x8F || d.opcode == 0x62) {
        // Each form takes at least one more byte; which one it is depends on it.
        if (i >= available) return 0;
        const uint8_t next = code[i];
        const bool xop = d.opcode == 0x8F && StartsXop(next);
        const bool evex = StartsEvex(d.opcode, next);
        if (StartsVex(d.opcode, next) || xop || evex) {
            d.vex = true;
            if (d.opcode == 0xC5) {
                d.map = kMap0F;
                i += 1;
            } else if (evex) {
                d.map = next & 3;
                i += 3;
            } else {
                d.map = next & 0x1F;
                i += 2;
            }
            if (i >= available) return 0;
            d.secondOpcode = code[i++];
            const bool known = xop ? d.map >= kMapXop8 : (d.map >= kMap0F && d.map <= kMap0F3A);
            entry = known ? VexEntry(d.map, d.secondOpcode) : static_cast<uint32_t>(XX);
        }
    }
    if (entry & ES) {
        if (i >= available) return 0;
        d.secondOpcode = code[i++];
        d.map = kMap0F;
        entry = kTwoByte[d.secondOpcode];
        if (entry & (T8 | TA)) {
            if (i >= available) return 0;
            ++i;   // the third opcode byte
            d.map = (entry & TA) ? kMap0F3A : kMap0F38;
            entry = (entry & TA) ? MI8 : static_cast<uint32_t>(M);
        }
    }
    if (entry & XX) return 0;

    uint8_t modrm = 0;
    if (entry & (M | MR)) {
        if (i >= available) return 0;
        d.modrmOffset = static_cast<int>(i);
        modrm = code[i++];
        bool truncated = false;
        if (!(entry & MR)) i += AddressingBytes(modrm, code + i, available - i, d.addressSizePrefix, &truncated);
        if (truncated) return 0;
    }
    int reg = (modrm >> 3) & 7;
    // Undefined members of the INC/DEC groups.
    if (d.modrmOffset >= 0 && ((d.opcode == 0xFE && reg >= 2) || (d.opcode == 0xFF && reg == 7))) return 0;

    int immediate = 0;
    if (entry & I8) immediate += 1;
    if (entry & I16) immediate += 2;
    if (entry & IZ) immediate += d.operandSizePrefix ? 2 : 4;
    if (entry & MO) immediate += d.addressSizePrefix ? 2 : 4;
    if (entry & I32) immediate += 4;
    // SSE4a EXTRQ (66) and INSERTQ (F2) 0F 78, register forms only, take two
    // 8-bit immediates; any other 0F 78 is VMREAD.
    if (d.map == kMap0F && !d.vex && d.secondOpcode == 0x78 && (modrm >> 6) == 3 &&
        (d.operandSizePrefix || d.repeatPrefix == 0xF2))
        immediate += 2;
    if ((entry & GT) && reg <= 1) immediate += d.opcode == 0xF6 ? 1 : (d.operandSizePrefix ? 2 : 4);
    i += immediate;

    if (entry & (R8 | RZ)) {
        d.relativeOffset = static_cast<int>(i);
        d.relativeSize = (entry & R8) ? 1 : (d.operandSizePrefix ? 2 : 4);
        d.target = BranchTarget::kRelative;
        i += d.relativeSize;
    }
    if (i > available) return 0;

    if (d.opcode == 0xFF && d.modrmOffset >= 0 && reg >= 2 && reg <= 5) {
        if ((modrm == 0x15 || modrm == 0x25) && !d.addressSizePrefix) {
            d.target = BranchTarget::kMemorySlot;
            d.memorySlot = ReadLittle(code + d.modrmOffset + 1, 4);
        } else {
            d.target = BranchTarget::kUndetermined;
        }
    }

    d.length = static_cast<int>(i);
    if (out) *out = d;
    return d.length;
}

uint32_t RelativeBranchTarget(const X86Instruction& instruction, const uint8_t* code, uint32_t address) {
    if (instruction.target != BranchTarget::kRelative) return 0;
    int32_t operand = ReadSigned(code + instruction.relativeOffset, instruction.relativeSize);
    return address + static_cast<uint32_t>(instruction.length) + static_cast<uint32_t>(operand);
}

int RelocateInstruction(const uint8_t* source, size_t available, uint32_t sourceAddress, uint8_t* destination,
                        size_t room, uint32_t destinationAddress, X86Instruction* out) {
    X86Instruction d;
    int length = DecodeInstruction(source, available, &d);
    if (length == 0 || static_cast<size_t>(length) > room) return 0;
    uint8_t copy[kMaxInstructionLength];
    std::memcpy(copy, source, length);
    if (d.target == BranchTarget::kRelative) {
        int32_t operand = ReadSigned(source + d.relativeOffset, d.relativeSize);
        // Modulo 2^32, as the processor adds: a 32-bit operand always reaches.
        int32_t moved = static_cast<int32_t>(static_cast<uint32_t>(operand) + sourceAddress - destinationAddress);
        int64_t limit = int64_t(1) << (8 * d.relativeSize - 1);
        if (d.relativeSize < 4 && (moved < -limit || moved >= limit)) return 0;
        WriteLittle(copy + d.relativeOffset, d.relativeSize, static_cast<uint32_t>(moved));
    }
    std::memcpy(destination, copy, length);
    if (out) *out = d;
    return length;
}
