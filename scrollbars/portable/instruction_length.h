// Length decoding of 32-bit x86 instructions, and copying of an instruction
// to another address with its relative operand re-aimed. Enough of the
// instruction set to walk the first instructions of system functions before
// they are patched; no disassembly beyond lengths and branch operands.
//
// Addresses are given as 32-bit values apart from the bytes themselves, so
// the code can be checked on any host.
#pragma once

#include <cstddef>
#include <cstdint>

// The longest instruction the processor accepts.
constexpr int kMaxInstructionLength = 15;

enum class BranchTarget : uint8_t {
    kNone,          // no transfer of control through an operand
    kRelative,      // relative operand: relativeOffset / relativeSize
    kMemorySlot,    // FF 15 / FF 25: the target is the address stored at memorySlot
    kUndetermined,  // other indirect calls and jumps (FF /2 to /5)
};

struct X86Instruction {
    int length;             // bytes, 1 to 15
    int opcodeOffset;       // first opcode byte, after the prefixes
    uint8_t opcode;         // that byte; 0x0F for the two- and three-byte maps
    uint8_t secondOpcode;   // the byte after 0x0F, else 0
    int modrmOffset;        // offset of the ModR/M byte, or -1
    int relativeOffset;     // offset of the relative operand, or -1
    int relativeSize;       // 0, 1, 2 or 4
    bool operandSizePrefix; // 0x66 seen
    bool addressSizePrefix; // 0x67 seen
    uint8_t segmentPrefix;  // last of 0x26 0x2E 0x36 0x3E 0x64 0x65, else 0
    uint8_t repeatPrefix;   // last of 0xF2 0xF3, else 0
    uint8_t map;            // opcode map: 0 one-byte, 1 0F, 2 0F 38, 3 0F 3A, 8 to 10 XOP
    bool vex;               // VEX (C4, C5) or XOP (8F) encoded
    BranchTarget target;
    uint32_t memorySlot;    // kMemorySlot: address of the slot holding the target
};

// Decodes the instruction at `code`, reading at most `available` bytes.
// Returns its length, or 0 for an opcode that does not exist in 32-bit code,
// an instruction longer than 15 bytes or one that runs past `available`.
// `out` may be null.
int DecodeInstruction(const uint8_t* code, size_t available, X86Instruction* out);

// Destination of a decoded instruction with a relative operand, the
// instruction being at `address`: address + length + operand. 0 without one.
uint32_t RelativeBranchTarget(const X86Instruction& instruction, const uint8_t* code, uint32_t address);

// Copies the instruction at `source` (which lives at `sourceAddress`) to
// `destination` (to live at `destinationAddress`), rewriting a relative
// operand as operand + source − destination in its own width so that it
// reaches the same target. Returns the length copied, or 0 when the
// instruction cannot be decoded, does not fit in `room`, or its new operand
// does not fit its width (a short jump that cannot reach); nothing is
// written then.
int RelocateInstruction(const uint8_t* source, size_t available, uint32_t sourceAddress, uint8_t* destination,
                        size_t room, uint32_t destinationAddress, X86Instruction* out = nullptr);
