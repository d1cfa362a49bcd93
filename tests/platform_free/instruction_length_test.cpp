// Instruction lengths and relocation of relative operands.
#include "scrollbars/portable/instruction_length.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

int Length(std::vector<uint8_t> bytes) {
    return DecodeInstruction(bytes.data(), bytes.size(), nullptr);
}

X86Instruction Decoded(std::vector<uint8_t> bytes) {
    X86Instruction d;
    std::memset(&d, 0, sizeof d);
    EXPECT_NE(DecodeInstruction(bytes.data(), bytes.size(), &d), 0);
    return d;
}

TEST(InstructionLength, OneByteMapWithImmediatesAndModRM) {
    EXPECT_EQ(Length({0x55}), 1);                                  // push ebp
    EXPECT_EQ(Length({0x8B, 0xFF}), 2);                            // mov edi, edi
    EXPECT_EQ(Length({0xB8, 1, 2, 3, 4}), 5);                      // mov eax, imm32
    EXPECT_EQ(Length({0x6A, 0x10}), 2);                            // push imm8
    EXPECT_EQ(Length({0x68, 1, 2, 3, 4}), 5);                      // push imm32
    EXPECT_EQ(Length({0x69, 0xC0, 1, 2, 3, 4}), 6);                // imul eax, eax, imm32
    EXPECT_EQ(Length({0x83, 0xEC, 0x0C}), 3);                      // sub esp, 12
    EXPECT_EQ(Length({0x81, 0xEC, 0, 1, 0, 0}), 6);                // sub esp, 256
    EXPECT_EQ(Length({0xC7, 0x44, 0x24, 4, 1, 2, 3, 4}), 8);       // mov [esp+4], imm32
    EXPECT_EQ(Length({0xC2, 0x10, 0x00}), 3);                      // ret 16
    EXPECT_EQ(Length({0xC8, 0x10, 0x00, 0x01}), 4);                // enter 16, 1
    EXPECT_EQ(Length({0x9A, 1, 2, 3, 4, 5, 6}), 7);                // call far ptr16:32
    EXPECT_EQ(Length({0xCD, 0x2E}), 2);                            // int 2Eh
    EXPECT_EQ(Length({0xD9, 0xEE}), 2);                            // fldz
    EXPECT_EQ(Length({0xDD, 0x05, 1, 2, 3, 4}), 6);                // fld qword [abs]
}

TEST(InstructionLength, ModRMAddsSibAndDisplacementByModAndRm) {
    EXPECT_EQ(Length({0x8B, 0x00}), 2);                            // [eax]
    EXPECT_EQ(Length({0x8B, 0x04, 0x24}), 3);                      // [esp]: SIB
    EXPECT_EQ(Length({0x8B, 0x44, 0x24, 0x08}), 4);                // [esp+8]
    EXPECT_EQ(Length({0x8B, 0x84, 0x24, 0, 1, 0, 0}), 7);          // [esp+256]
    EXPECT_EQ(Length({0x8B, 0x05, 1, 2, 3, 4}), 6);                // [abs32]
    EXPECT_EQ(Length({0x8B, 0x04, 0x85, 1, 2, 3, 4}), 7);          // [eax*4+abs32]: SIB without base
    EXPECT_EQ(Length({0x8B, 0x45, 0x08}), 3);                      // [ebp+8]
    EXPECT_EQ(Length({0x8B, 0x85, 1, 2, 3, 4}), 6);                // [ebp+disp32]
    EXPECT_EQ(Length({0x8B, 0xC1}), 2);                            // register
}

TEST(InstructionLength, SizePrefixesChangeOnlyWhatTheyShould) {
    EXPECT_EQ(Length({0x66, 0xB8, 1, 2}), 4);                      // mov ax, imm16
    EXPECT_EQ(Length({0x66, 0x81, 0xC1, 1, 2}), 5);                // add cx, imm16
    EXPECT_EQ(Length({0x66, 0xC2, 0x08, 0x00}), 4);                // ret imm16 stays 2 bytes
    EXPECT_EQ(Length({0x66, 0x9A, 1, 2, 3, 4}), 6);                // call far ptr16:16
    EXPECT_EQ(Length({0x66, 0x8B, 0x44, 0x24, 4}), 5);             // 0x66 leaves addressing alone
    EXPECT_EQ(Length({0xA1, 1, 2, 3, 4}), 5);                      // mov eax, [moffs32]
    EXPECT_EQ(Length({0x67, 0xA1, 1, 2}), 4);                      // mov eax, [moffs16]
    EXPECT_EQ(Length({0x66, 0xA1, 1, 2, 3, 4}), 6);                // mov ax, [moffs32]
    EXPECT_EQ(Length({0x67, 0x8B, 0x06, 1, 2}), 5);                // [disp16]
    EXPECT_EQ(Length({0x67, 0x8B, 0x47, 0x08}), 4);                // [bx+disp8]
    EXPECT_EQ(Length({0x67, 0x8B, 0x04}), 3);                      // [si]: no SIB in 16-bit addressing
    // Other legacy prefixes are one byte each.
    EXPECT_EQ(Length({0xF0, 0x0F, 0xB1, 0x0A}), 4);                // lock cmpxchg [edx], ecx
    EXPECT_EQ(Length({0xF3, 0xA5}), 2);                            // rep movsd
    EXPECT_EQ(Length({0x64, 0xA1, 0x18, 0, 0, 0}), 6);             // mov eax, fs:[18h]
    EXPECT_EQ(Decoded({0x64, 0xA1, 0x18, 0, 0, 0}).segmentPrefix, 0x64);
    EXPECT_EQ(Length({0x2E, 0x8D, 0xB4, 0x26, 0, 0, 0, 0}), 8);    // cs lea esi, [esi+0]
    EXPECT_EQ(Length({0x66, 0x0F, 0x1F, 0x44, 0x00, 0x00}), 6);    // nop word [eax+eax]
}

TEST(InstructionLength, TestGroupHasAnImmediateOnlyForTest) {
    EXPECT_EQ(Length({0xF6, 0xC1, 0x01}), 3);                      // test cl, 1
    EXPECT_EQ(Length({0xF6, 0xD9}), 2);                            // neg cl
    EXPECT_EQ(Length({0xF7, 0xC1, 1, 2, 3, 4}), 6);                // test ecx, imm32
    EXPECT_EQ(Length({0x66, 0xF7, 0xC1, 1, 2}), 5);                // test cx, imm16
    EXPECT_EQ(Length({0xF7, 0xF1}), 2);                            // div ecx
    EXPECT_EQ(Length({0xF7, 0x44, 0x24, 4, 1, 0, 0, 0}), 8);       // test dword [esp+4], 1
    // TEST's second encoding, /1, takes the immediate too.
    EXPECT_EQ(Length({0xF6, 0xC9, 0x01}), 3);                      // test cl, 1
    EXPECT_EQ(Length({0xF7, 0x4C, 0x24, 4, 1, 0, 0, 0}), 8);       // test dword [esp+4], 1
}

TEST(InstructionLength, ControlAndDebugRegisterMovesAlwaysNameRegisters) {
    // Whatever the mod bits say, no SIB and no displacement follow.
    for (uint8_t op : {0x20, 0x21, 0x22, 0x23}) {
        EXPECT_EQ(Length({0x0F, op, 0xC0}), 3) << int(op);
        EXPECT_EQ(Length({0x0F, op, 0x05, 1, 2, 3, 4}), 3) << int(op);   // would be disp32
        EXPECT_EQ(Length({0x0F, op, 0x44, 0x24, 4}), 3) << int(op);      // would be SIB and disp8
    }
}

TEST(InstructionLength, VexXopAndEvexPrefixesIn32BitCode) {
    EXPECT_EQ(Length({0xC5, 0xF8, 0x77}), 3);                          // vzeroupper
    EXPECT_EQ(Length({0xC5, 0xF9, 0x6F, 0x44, 0x24, 0x10}), 6);        // vmovdqa xmm0, [esp+16]
    EXPECT_EQ(Length({0xC4, 0xE3, 0x79, 0x0F, 0xC1, 0x08}), 6);        // vpalignr ..., 8 (map 0F 3A)
    EXPECT_EQ(Length({0xC4, 0xE2, 0x79, 0x00, 0xC1}), 5);              // vpshufb (map 0F 38)
    // With a memory ModR/M after them, C4 and C5 are still LES and LDS.
    EXPECT_EQ(Length({0xC5, 0x05}), 0);                                // lds eax, [disp32] cut short
    EXPECT_EQ(Length({0xC5, 0x05, 1, 2, 3, 4}), 6);
    EXPECT_EQ(Length({0xC4, 0x45, 0x08}), 3);                          // les eax, [ebp+8]
    // 8F: POP r/m with reg 0, XOP otherwise, whose map gives the immediate.
    EXPECT_EQ(Length({0x8F, 0x45, 0x08}), 3);                          // pop [ebp+8]
    EXPECT_EQ(Length({0x8F, 0xE8, 0x78, 0xC2, 0xC1, 0x05}), 6);        // vprotb ..., 5 (map 8)
    EXPECT_EQ(Length({0x8F, 0xE9, 0x78, 0x90, 0xC1}), 5);              // vprotb ... (map 9)
    EXPECT_EQ(Length({0x8F, 0xEA, 0x78, 0x10, 0xC1, 1, 2, 3, 4}), 9);  // bextr ..., imm32 (map 10)
    // 62: BOUND with a memory operand, EVEX otherwise.
    EXPECT_EQ(Length({0x62, 0x45, 0x08}), 3);                          // bound eax, [ebp+8]
    EXPECT_EQ(Length({0x62, 0xF1, 0x7C, 0x48, 0x58, 0xC1}), 6);        // vaddps zmm0, zmm0, zmm1
}

TEST(InstructionLength, Sse4aExtractAndInsertTakeTwoImmediates) {
    EXPECT_EQ(Length({0x66, 0x0F, 0x78, 0xC1, 4, 8}), 6);              // extrq xmm1, 4, 8
    EXPECT_EQ(Length({0xF2, 0x0F, 0x78, 0xC1, 4, 8}), 6);              // insertq xmm0, xmm1, 4, 8
    EXPECT_EQ(Length({0x66, 0x0F, 0x79, 0xC1}), 4);                    // extrq xmm0, xmm1
    EXPECT_EQ(Length({0x0F, 0x78, 0xC1}), 3);                          // vmread ecx, eax
    EXPECT_EQ(Length({0x66, 0x0F, 0x78, 0x02}), 4);                    // a memory form is vmread
}

TEST(InstructionLength, TwoAndThreeByteMaps) {
    EXPECT_EQ(Length({0x0F, 0xA2}), 2);                            // cpuid
    EXPECT_EQ(Length({0x0F, 0xB6, 0x45, 0x08}), 4);                // movzx eax, byte [ebp+8]
    EXPECT_EQ(Length({0x0F, 0xBA, 0xE0, 0x03}), 4);                // bt eax, 3
    EXPECT_EQ(Length({0x0F, 0xC6, 0xC1, 0x1B}), 4);                // shufps
    EXPECT_EQ(Length({0x0F, 0x0F, 0xC1, 0x9E}), 4);                // 3DNow! pfadd
    EXPECT_EQ(Length({0x66, 0x0F, 0x38, 0x00, 0xC1}), 5);          // pshufb
    EXPECT_EQ(Length({0x0F, 0x38, 0xF0, 0x04, 0x24}), 5);          // movbe eax, [esp]
    EXPECT_EQ(Length({0x66, 0x0F, 0x3A, 0x0F, 0xC1, 0x08}), 6);    // palignr ..., 8
    EXPECT_EQ(Length({0x66, 0x0F, 0x3A, 0x16, 0x44, 0x24, 4, 1}), 8);  // pextrd [esp+4], ..., 1
    EXPECT_EQ(Length({0x0F, 0x84, 1, 2, 3, 4}), 6);                // jz rel32
    EXPECT_EQ(Length({0x66, 0x0F, 0x84, 1, 2}), 5);                // jz rel16
}

TEST(InstructionLength, RefusesWhatIsNotAnInstruction) {
    EXPECT_EQ(Length({0x0F, 0x04}), 0);
    EXPECT_EQ(Length({0x0F, 0x0A}), 0);
    EXPECT_EQ(Length({0xFF, 0xFF}), 0);                            // FF /7
    EXPECT_EQ(Length({0xFE, 0xD0}), 0);                            // FE /2
    EXPECT_EQ(Length({0xE8, 0, 0}), 0);                            // cut short
    EXPECT_EQ(Length({0x8B}), 0);
    EXPECT_EQ(Length({0x8B, 0x04}), 0);                            // SIB missing
    EXPECT_EQ(Length({0x66}), 0);
    EXPECT_EQ(Length({}), 0);
    std::vector<uint8_t> fifteen(14, 0x66);
    fifteen.push_back(0x90);
    EXPECT_EQ(Length(fifteen), 15);
    std::vector<uint8_t> sixteen(15, 0x66);
    sixteen.push_back(0x90);
    EXPECT_EQ(Length(sixteen), 0);
}

TEST(InstructionLength, NeverReadsPastWhatItWasGiven) {
    // Every opcode with every ModR/M and a SIB asking for a displacement,
    // decoded from a buffer cut to exactly the length found (the sanitizer
    // catches a read beyond it), and refused one byte shorter.
    for (int map = 0; map < 4; ++map) {
        for (int opcode = 0; opcode < 256; ++opcode) {
            for (int modrm = 0; modrm < 256; ++modrm) {
                std::vector<uint8_t> bytes;
                if (map == 1) bytes = {0x0F};
                if (map == 2) bytes = {0x0F, 0x38};
                if (map == 3) bytes = {0x66, 0x0F, 0x3A};
                bytes.push_back(static_cast<uint8_t>(opcode));
                bytes.push_back(static_cast<uint8_t>(modrm));
                bytes.insert(bytes.end(), {0x25, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
                int length = DecodeInstruction(bytes.data(), bytes.size(), nullptr);
                if (length == 0) continue;
                ASSERT_LE(length, kMaxInstructionLength);
                std::unique_ptr<uint8_t[]> exact(new uint8_t[length]);
                std::memcpy(exact.get(), bytes.data(), length);
                ASSERT_EQ(DecodeInstruction(exact.get(), length, nullptr), length) << map << " " << opcode;
                ASSERT_EQ(DecodeInstruction(exact.get(), length - 1, nullptr), 0) << map << " " << opcode;
            }
        }
    }
}

TEST(InstructionTargets, RelativeAndIndirectBranchesAreRecognised) {
    X86Instruction call = Decoded({0xE8, 0x10, 0, 0, 0});
    EXPECT_EQ(call.target, BranchTarget::kRelative);
    EXPECT_EQ(call.relativeOffset, 1);
    EXPECT_EQ(call.relativeSize, 4);
    X86Instruction jcc = Decoded({0x74, 0xFE});
    EXPECT_EQ(jcc.relativeSize, 1);
    const uint8_t jz[] = {0x74, 0xFE};
    EXPECT_EQ(RelativeBranchTarget(jcc, jz, 0x1000), 0x1000u);   // jz $
    X86Instruction near16 = Decoded({0x66, 0xE9, 0x34, 0x12});
    EXPECT_EQ(near16.relativeOffset, 2);
    EXPECT_EQ(near16.relativeSize, 2);
    X86Instruction loop = Decoded({0xE2, 0x05});
    EXPECT_EQ(loop.target, BranchTarget::kRelative);

    X86Instruction import = Decoded({0xFF, 0x25, 0x78, 0x56, 0x34, 0x12});
    EXPECT_EQ(import.target, BranchTarget::kMemorySlot);
    EXPECT_EQ(import.memorySlot, 0x12345678u);
    EXPECT_EQ(Decoded({0xFF, 0x15, 0x78, 0x56, 0x34, 0x12}).target, BranchTarget::kMemorySlot);
    EXPECT_EQ(Decoded({0xFF, 0xD0}).target, BranchTarget::kUndetermined);               // call eax
    EXPECT_EQ(Decoded({0xFF, 0x24, 0x85, 1, 2, 3, 4}).target, BranchTarget::kUndetermined);  // jmp table
    EXPECT_EQ(Decoded({0xFF, 0x1D, 1, 2, 3, 4}).target, BranchTarget::kUndetermined);   // call far [m]
    EXPECT_EQ(Decoded({0xFF, 0x35, 1, 2, 3, 4}).target, BranchTarget::kNone);          // push [m]
    EXPECT_EQ(Decoded({0x8B, 0xFF}).target, BranchTarget::kNone);
}

TEST(InstructionRelocation, RelativeOperandsReachTheSameTarget) {
    const uint8_t jump[] = {0xE9, 0x00, 0x01, 0x00, 0x00};   // to A + 5 + 0x100
    uint8_t moved[8] = {0};
    ASSERT_EQ(RelocateInstruction(jump, sizeof jump, 0x10000000, moved, sizeof moved, 0x00400000), 5);
    X86Instruction d = Decoded(std::vector<uint8_t>(moved, moved + 5));
    EXPECT_EQ(RelativeBranchTarget(d, moved, 0x00400000), 0x10000105u);

    // A 32-bit operand reaches across the top of the address space.
    ASSERT_EQ(RelocateInstruction(jump, sizeof jump, 0xFFFFFF00, moved, sizeof moved, 0x00001000), 5);
    EXPECT_EQ(RelativeBranchTarget(d = Decoded(std::vector<uint8_t>(moved, moved + 5)), moved, 0x1000), 0x00000005u);

    const uint8_t jcc32[] = {0x0F, 0x85, 0xF0, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(RelocateInstruction(jcc32, sizeof jcc32, 0x20000000, moved, sizeof moved, 0x20008000), 6);
    EXPECT_EQ(RelativeBranchTarget(Decoded(std::vector<uint8_t>(moved, moved + 6)), moved, 0x20008000),
              0x20000000u + 6 - 16);

    // A short branch that still reaches is re-aimed in its own width.
    const uint8_t jz[] = {0x74, 0x10};
    ASSERT_EQ(RelocateInstruction(jz, sizeof jz, 0x1000, moved, sizeof moved, 0x1060), 2);
    EXPECT_EQ(moved[0], 0x74);
    EXPECT_EQ(static_cast<int8_t>(moved[1]), 0x10 - 0x60);
    const uint8_t jmp16[] = {0x66, 0xE9, 0x00, 0x10};
    ASSERT_EQ(RelocateInstruction(jmp16, sizeof jmp16, 0x1000, moved, sizeof moved, 0x3000), 4);
    EXPECT_EQ(moved[2] | moved[3] << 8, 0xF000);   // 0x1000 + 0x1000 - 0x3000
}

TEST(InstructionRelocation, ABranchThatCannotReachIsRefusedAndNothingWritten) {
    const uint8_t jz[] = {0x74, 0x10};
    uint8_t moved[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(RelocateInstruction(jz, sizeof jz, 0x10000000, moved, sizeof moved, 0x00400000), 0);
    EXPECT_EQ(RelocateInstruction(jz, sizeof jz, 0x1000, moved, sizeof moved, 0x1000 + 0x91), 0);  // -0x81
    EXPECT_EQ(RelocateInstruction(jz, sizeof jz, 0x1000, moved, sizeof moved, 0x1000 + 0x90), 2);  // -0x80 fits
    moved[0] = moved[1] = 0xAA;
    const uint8_t loop[] = {0xE2, 0xFE};
    EXPECT_EQ(RelocateInstruction(loop, sizeof loop, 0x1000, moved, sizeof moved, 0x2000), 0);
    EXPECT_EQ(moved[0], 0xAA);
    EXPECT_EQ(moved[1], 0xAA);
    // No room, or nothing decodable.
    const uint8_t call[] = {0xE8, 1, 2, 3, 4};
    EXPECT_EQ(RelocateInstruction(call, sizeof call, 0x1000, moved, 4, 0x1000), 0);
    const uint8_t bad[] = {0x0F, 0x04};
    EXPECT_EQ(RelocateInstruction(bad, sizeof bad, 0x1000, moved, sizeof moved, 0x1000), 0);
}

TEST(InstructionRelocation, OtherInstructionsAreCopiedAsTheyAre) {
    const uint8_t mov[] = {0x8B, 0x05, 0x78, 0x56, 0x34, 0x12, 0xCC};   // absolute address: unchanged
    uint8_t moved[8] = {0};
    ASSERT_EQ(RelocateInstruction(mov, sizeof mov, 0x1000, moved, sizeof moved, 0x7000), 6);
    EXPECT_EQ(std::memcmp(moved, mov, 6), 0);
    EXPECT_EQ(moved[6], 0);
    const uint8_t import[] = {0xFF, 0x25, 0x78, 0x56, 0x34, 0x12};
    ASSERT_EQ(RelocateInstruction(import, sizeof import, 0x1000, moved, sizeof moved, 0x7000), 6);
    EXPECT_EQ(std::memcmp(moved, import, 6), 0);
}

}  // namespace
