// Hooking small functions written byte by byte into executable memory:
// trampoline layout, spans, relocation, address resolving, error codes and
// hooking while another thread runs the function.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

#include "scrollbars/function_hook.h"
#include "scrollbars/portable/instruction_length.h"

namespace {
void* volatile g_targets[3];
}

extern "C" void* FunctionHookTestTargetA() { return g_targets[0]; }
extern "C" void* FunctionHookTestTargetB() { return g_targets[1]; }
extern "C" void* FunctionHookTestTargetC() { return g_targets[2]; }
ONDARIA_TRAMPOLINE(FunctionHookTestTrampolineA, FunctionHookTestTargetA);
ONDARIA_TRAMPOLINE(FunctionHookTestTrampolineB, FunctionHookTestTargetB);
ONDARIA_TRAMPOLINE(FunctionHookTestTrampolineC, FunctionHookTestTargetC);   // never installed

namespace {

using IntFunction = int (*)(int);
using VoidFunction = int (*)();

int TimesTen(int x) { return TrampolineAs<IntFunction>(FunctionHookTestTrampolineA)(x) * 10; }
int PlusThousand(int x) { return TrampolineAs<IntFunction>(FunctionHookTestTrampolineA)(x) + 1000; }
int PlusHundredB() { return TrampolineAs<VoidFunction>(FunctionHookTestTrampolineB)() + 100; }
int TimesTenB(int x) { return TrampolineAs<IntFunction>(FunctionHookTestTrampolineB)(x) * 10; }

// cdecl int f(int x): mov edi,edi; push ebp; mov ebp,esp; mov eax,[ebp+8]; inc eax; pop ebp; ret
const std::initializer_list<uint8_t> kIncrement = {0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0x8B, 0x45, 0x08, 0x40, 0x5D, 0xC3};

class FunctionHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        code = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, 0x10000, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
        ASSERT_NE(code, nullptr);
        std::memset(code, 0xCC, 0x10000);
        next = code;
        std::memcpy(&before[0], &FunctionHookTestTrampolineA, sizeof(Trampoline));
        std::memcpy(&before[1], &FunctionHookTestTrampolineB, sizeof(Trampoline));
    }
    void TearDown() override {
        // A test that failed half-way leaves nothing patched for the next one.
        UnhookFunction(&FunctionHookTestTrampolineA, reinterpret_cast<const void*>(&TimesTen));
        UnhookFunction(&FunctionHookTestTrampolineA, reinterpret_cast<const void*>(&PlusThousand));
        UnhookFunction(&FunctionHookTestTrampolineB, reinterpret_cast<const void*>(&PlusHundredB));
        UnhookFunction(&FunctionHookTestTrampolineB, reinterpret_cast<const void*>(&TimesTenB));
        VirtualFree(code, 0, MEM_RELEASE);
    }

    // Writes a function at a 16-byte boundary; returns its address.
    uint8_t* Emit(std::initializer_list<uint8_t> bytes) {
        uint8_t* at = next;
        std::memcpy(at, bytes.begin(), bytes.size());
        next += (bytes.size() + 15) / 16 * 16 + 16;
        return at;
    }
    static void PutRel32(uint8_t* at, const void* target) {
        int32_t rel = static_cast<int32_t>(reinterpret_cast<intptr_t>(target) - reinterpret_cast<intptr_t>(at + 4));
        std::memcpy(at, &rel, 4);
    }
    static void PutAddress(uint8_t* at, const void* value) {
        uint32_t v = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
        std::memcpy(at, &v, 4);
    }
    static uint32_t Target(const uint8_t* at) {
        X86Instruction d;
        EXPECT_NE(DecodeInstruction(at, 15, &d), 0);
        return RelativeBranchTarget(d, at, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(at)));
    }
    static uint32_t Addr(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

    uint8_t* code = nullptr;
    uint8_t* next = nullptr;
    Trampoline before[2];   // as the test found them
};

const void* Fn(IntFunction f) { return reinterpret_cast<const void*>(f); }
const void* Fn(VoidFunction f) { return reinterpret_cast<const void*>(f); }

TEST_F(FunctionHookTest, TrampolineCallsTheFunctionBeforeAndTakesItsFirstInstructionsAfter) {
    uint8_t* f = Emit(kIncrement);
    g_targets[0] = f;
    const uint8_t* t = FunctionHookTestTrampolineA.bytes;
    EXPECT_EQ(Addr(t) % 32, 0u);
    EXPECT_EQ(t[0], 0x90);
    EXPECT_EQ(t[1], 0x90);
    EXPECT_EQ(t[2], 0xE8);
    EXPECT_EQ(Target(t + 2), Addr(reinterpret_cast<void*>(&FunctionHookTestTargetA)));
    EXPECT_EQ(t[7], 0xFF);
    EXPECT_EQ(t[8], 0xE0);
    EXPECT_EQ(t[kTrampolineSpanByte], 0);
    EXPECT_EQ(TrampolineAs<IntFunction>(FunctionHookTestTrampolineA)(4), 5);

    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 1);
    EXPECT_EQ(std::memcmp(t, kIncrement.begin(), 5), 0);     // mov edi,edi; push ebp; mov ebp,esp
    EXPECT_EQ(t[5], 0xE9);
    EXPECT_EQ(Target(t + 5), Addr(f + 5));                    // back to the rest
    for (int k = 10; k < kTrampolineSpanByte; ++k) EXPECT_EQ(t[k], 0xCC) << k;
    EXPECT_EQ(t[kTrampolineSpanByte], 5);
    EXPECT_EQ(f[0], 0xE9);
    EXPECT_EQ(Target(f), Addr(reinterpret_cast<void*>(&TimesTen)));
    EXPECT_EQ(std::memcmp(f + 5, kIncrement.begin() + 5, kIncrement.size() - 5), 0);
    EXPECT_EQ(reinterpret_cast<IntFunction>(f)(4), 50);
    EXPECT_EQ(TrampolineAs<IntFunction>(FunctionHookTestTrampolineA)(4), 5);
    EXPECT_EQ(HookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 0);   // not twice

    ASSERT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 1);
    EXPECT_EQ(std::memcmp(f, kIncrement.begin(), kIncrement.size()), 0);
    EXPECT_EQ(reinterpret_cast<IntFunction>(f)(4), 5);
    EXPECT_EQ(TrampolineAs<IntFunction>(FunctionHookTestTrampolineA)(4), 5);   // still leads there

    // And again, on another function behind the same trampoline.
    uint8_t* other = Emit(kIncrement);
    g_targets[0] = other;
    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineA, Fn(&PlusThousand)), 1);
    EXPECT_EQ(Target(t + 5), Addr(other + 5));
    EXPECT_EQ(reinterpret_cast<IntFunction>(other)(4), 1005);
    EXPECT_EQ(reinterpret_cast<IntFunction>(f)(4), 5);
    ASSERT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&PlusThousand)), 1);
    EXPECT_EQ(std::memcmp(other, kIncrement.begin(), kIncrement.size()), 0);
}

TEST_F(FunctionHookTest, AFunctionStartingWithAJumpIsCopiedAsExactlyThatJumpReAimed) {
    uint8_t* body = Emit(kIncrement);
    uint8_t* f = Emit({0xE9, 0, 0, 0, 0, 0xCC, 0xCC});
    PutRel32(f + 1, body);
    uint8_t before[8];
    std::memcpy(before, f, sizeof before);
    g_targets[1] = f;
    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineB, Fn(&TimesTenB)), 1);
    const uint8_t* t = FunctionHookTestTrampolineB.bytes;
    EXPECT_EQ(t[0], 0xE9);
    EXPECT_EQ(Target(t), Addr(body));
    EXPECT_EQ(t[5], 0xE9);
    EXPECT_EQ(Target(t + 5), Addr(f + 5));
    EXPECT_EQ(t[kTrampolineSpanByte], 5);
    EXPECT_EQ(reinterpret_cast<IntFunction>(f)(6), 70);
    ASSERT_EQ(UnhookFunction(&FunctionHookTestTrampolineB, Fn(&TimesTenB)), 1);
    EXPECT_EQ(std::memcmp(f, before, sizeof before), 0);
    EXPECT_EQ(reinterpret_cast<IntFunction>(f)(6), 7);
}

TEST_F(FunctionHookTest, RelativeCallsAndLongBranchesInTheSpanAreReAimed) {
    uint8_t* helper = Emit({0xB8, 0x07, 0, 0, 0, 0xC3});   // mov eax, 7; ret
    uint8_t* caller = Emit({0xE8, 0, 0, 0, 0, 0xC3});      // call helper; ret
    PutRel32(caller + 1, helper);
    g_targets[1] = caller;
    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineB, Fn(&PlusHundredB)), 1);
    EXPECT_EQ(Target(FunctionHookTestTrampolineB.bytes), Addr(helper));
    EXPECT_EQ(reinterpret_cast<VoidFunction>(caller)(), 107);
    ASSERT_EQ(UnhookFunction(&FunctionHookTestTrampolineB, Fn(&PlusHundredB)), 1);
    EXPECT_EQ(reinterpret_cast<VoidFunction>(caller)(), 7);

    // xor eax,eax; jz distant (32-bit); mov eax,1; ret ... distant: mov eax,42; ret
    uint8_t* distant = Emit({0xB8, 42, 0, 0, 0, 0xC3});
    uint8_t* branch = Emit({0x33, 0xC0, 0x0F, 0x84, 0, 0, 0, 0, 0xB8, 1, 0, 0, 0, 0xC3});
    PutRel32(branch + 4, distant);
    g_targets[1] = branch;
    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineB, Fn(&PlusHundredB)), 1);
    const uint8_t* t = FunctionHookTestTrampolineB.bytes;
    EXPECT_EQ(t[kTrampolineSpanByte], 8);
    EXPECT_EQ(Target(t + 2), Addr(distant));
    EXPECT_EQ(Target(t + 8), Addr(branch + 8));
    EXPECT_EQ(branch[5], 0xCC);   // the rest of the span is filled
    EXPECT_EQ(branch[7], 0xCC);
    EXPECT_EQ(reinterpret_cast<VoidFunction>(branch)(), 142);
    ASSERT_EQ(UnhookFunction(&FunctionHookTestTrampolineB, Fn(&PlusHundredB)), 1);
    EXPECT_EQ(reinterpret_cast<VoidFunction>(branch)(), 42);
}

TEST_F(FunctionHookTest, WhatCannotBeCopiedIsLeftAlone) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"short branch that cannot reach", {0x31, 0xC0, 0x74, 0x10, 0x90, 0x90, 0xC3}},
        {"ret alone", {0xC3}},
        {"span of 2 ended by ret", {0x90, 0xC3, 0x90, 0x90, 0x90}},
        {"span of 4 ended by ret 8", {0x90, 0xC2, 0x08, 0x00, 0x90, 0x90}},
        {"span of 4 ended by loopne", {0x33, 0xC0, 0xE0, 0xF0, 0x90, 0x90}},
        {"no instruction", {0x0F, 0x04, 0x90, 0x90, 0x90, 0x90}},
        {"branch back into the span", {0x90, 0x90, 0x0F, 0x85, 0xF8, 0xFF, 0xFF, 0xFF, 0xC3}},
    };
    for (const Case& c : cases) {
        uint8_t* f = next;
        std::memcpy(f, c.bytes.data(), c.bytes.size());
        next += 32;
        g_targets[1] = f;
        EXPECT_EQ(HookFunction(&FunctionHookTestTrampolineB, Fn(&PlusHundredB)), 0) << c.what;
        EXPECT_EQ(std::memcmp(f, c.bytes.data(), c.bytes.size()), 0) << c.what;
        EXPECT_EQ(std::memcmp(&FunctionHookTestTrampolineB, &before[1], sizeof(Trampoline)), 0) << c.what;
    }
}

TEST_F(FunctionHookTest, ImportJumpsAndForwardingStubsAreFollowed) {
    uint8_t* body = Emit(kIncrement);
    uint8_t* slot = Emit({0, 0, 0, 0});
    PutAddress(slot, body);
    uint8_t* import = Emit({0xFF, 0x25, 0, 0, 0, 0});
    PutAddress(import + 2, slot);
    uint8_t* stub = Emit({0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0x5D, 0xFF, 0x25, 0, 0, 0, 0});
    PutAddress(stub + 8, slot);
    uint8_t* relativeStub = Emit({0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0x5D, 0xE9, 0, 0, 0, 0});
    PutRel32(relativeStub + 7, body);
    uint8_t* chain = Emit({0x90, 0xFF, 0x25, 0, 0, 0, 0});   // to the stub, through another slot
    uint8_t* slot2 = Emit({0, 0, 0, 0});
    PutAddress(slot2, stub);
    PutAddress(chain + 3, slot2);
    EXPECT_EQ(ResolveFunctionAddress(import), body);
    EXPECT_EQ(ResolveFunctionAddress(stub), body);
    EXPECT_EQ(ResolveFunctionAddress(relativeStub), body);
    EXPECT_EQ(ResolveFunctionAddress(chain), body);

    // Code that does something before jumping, or a jump alone, is the function itself.
    uint8_t* realWork = Emit({0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0x8B, 0x45, 0x08, 0x5D, 0xFF, 0x25, 0, 0, 0, 0});
    PutAddress(realWork + 11, slot);
    uint8_t* pushed = Emit({0x55, 0xFF, 0x25, 0, 0, 0, 0});
    PutAddress(pushed + 3, slot);
    uint8_t* popped = Emit({0x5D, 0xFF, 0x25, 0, 0, 0, 0});
    PutAddress(popped + 3, slot);
    uint8_t* bareJump = Emit({0xE9, 0, 0, 0, 0});
    PutRel32(bareJump + 1, body);
    uint8_t* framed = Emit({0x55, 0x8B, 0xEC, 0xE9, 0, 0, 0, 0});
    PutRel32(framed + 4, body);
    EXPECT_EQ(ResolveFunctionAddress(realWork), realWork);
    EXPECT_EQ(ResolveFunctionAddress(pushed), pushed);
    EXPECT_EQ(ResolveFunctionAddress(popped), popped);
    EXPECT_EQ(ResolveFunctionAddress(bareJump), bareJump);
    EXPECT_EQ(ResolveFunctionAddress(framed), framed);
    EXPECT_EQ(ResolveFunctionAddress(body), body);

    // Hooking through the stub patches the code it leads to, not the stub.
    uint8_t stubBefore[12];
    std::memcpy(stubBefore, stub, sizeof stubBefore);
    g_targets[1] = stub;
    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineB, Fn(&TimesTenB)), 1);
    EXPECT_EQ(std::memcmp(stub, stubBefore, sizeof stubBefore), 0);
    EXPECT_EQ(body[0], 0xE9);
    EXPECT_EQ(reinterpret_cast<IntFunction>(stub)(1), 20);
    EXPECT_EQ(reinterpret_cast<IntFunction>(import)(1), 20);
    ASSERT_EQ(UnhookFunction(&FunctionHookTestTrampolineB, Fn(&TimesTenB)), 1);
    EXPECT_EQ(reinterpret_cast<IntFunction>(stub)(1), 2);
}

TEST_F(FunctionHookTest, UnhookingChecksThePatchIsItsOwn) {
    uint8_t* f = Emit(kIncrement);
    g_targets[0] = f;
    g_targets[2] = f;
    SetLastError(0);
    EXPECT_EQ(UnhookFunction(&FunctionHookTestTrampolineC, Fn(&TimesTen)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));   // never installed

    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 1);
    EXPECT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&PlusThousand)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ACCESS));   // not our replacement
    EXPECT_EQ(reinterpret_cast<IntFunction>(f)(1), 20);                    // still hooked

    // The saved instructions cannot go back: a short jump that cannot reach.
    uint8_t* t = FunctionHookTestTrampolineA.bytes;
    DWORD old;
    ASSERT_TRUE(VirtualProtect(t, kTrampolineSize, PAGE_EXECUTE_READWRITE, &old));
    uint8_t saved[2] = {t[0], t[1]};
    t[0] = 0xEB;   // jmp short to the jump back
    t[1] = 0x03;
    EXPECT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(f[0], 0xE9);
    t[0] = saved[0];
    t[1] = saved[1];
    VirtualProtect(t, kTrampolineSize, old, &old);

    ASSERT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 1);
    EXPECT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_BLOCK));    // twice
    EXPECT_EQ(std::memcmp(f, kIncrement.begin(), kIncrement.size()), 0);

    // Someone else patched over the jump.
    ASSERT_EQ(HookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 1);
    uint8_t* elsewhere = Emit(kIncrement);
    uint8_t ours[5];
    std::memcpy(ours, f, 5);
    PutRel32(f + 1, elsewhere);
    EXPECT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ACCESS));
    EXPECT_EQ(Target(f), Addr(elsewhere));   // left alone
    std::memcpy(f, ours, 5);
    EXPECT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 1);
}

TEST_F(FunctionHookTest, HooksComeAndGoWhileAnotherThreadRunsTheFunction) {
    uint8_t* f = Emit(kIncrement);
    g_targets[0] = f;
    auto function = reinterpret_cast<IntFunction>(f);
    std::atomic<bool> stop(false);
    std::atomic<long> plain(0), hooked(0), wrong(0);
    std::thread runner([&] {
        for (int x = 0; !stop; x = (x + 1) & 0xFFFF) {
            int result = function(x);
            if (result == x + 1) ++plain;
            else if (result == x + 1001) ++hooked;
            else ++wrong;
        }
    });
    int hooks = 0, unhooks = 0;
    for (int round = 0; round < 200; ++round) {
        hooks += HookFunction(&FunctionHookTestTrampolineA, Fn(&PlusThousand));
        Sleep(0);
        unhooks += UnhookFunction(&FunctionHookTestTrampolineA, Fn(&PlusThousand));
        Sleep(0);
    }
    stop = true;
    runner.join();
    EXPECT_EQ(hooks, 200);
    EXPECT_EQ(unhooks, 200);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(plain, 0);
    EXPECT_GT(hooked, 0);
    EXPECT_EQ(std::memcmp(f, kIncrement.begin(), kIncrement.size()), 0);
}

}  // namespace

namespace {

// Several functions hooked and restored in one go, each with its own outcome.
TEST_F(FunctionHookTest, SeveralFunctionsAtOnceEachWithItsOwnOutcome) {
    uint8_t* a = Emit(kIncrement);
    uint8_t* b = Emit(kIncrement);
    g_targets[0] = a;
    g_targets[1] = b;
    Trampoline* trampolines[] = {&FunctionHookTestTrampolineA, &FunctionHookTestTrampolineB,
                                 &FunctionHookTestTrampolineA, nullptr};
    const void* replacements[] = {Fn(&TimesTen), Fn(&TimesTenB), Fn(&PlusThousand), Fn(&TimesTen)};
    bool hooked[4] = {false, false, true, true};
    EXPECT_EQ(HookFunctions(trampolines, replacements, 4, hooked), 2);
    EXPECT_TRUE(hooked[0]);
    EXPECT_TRUE(hooked[1]);
    EXPECT_FALSE(hooked[2]) << "one trampoline is installed once";
    EXPECT_FALSE(hooked[3]);
    EXPECT_EQ(reinterpret_cast<IntFunction>(a)(4), 50);
    EXPECT_EQ(reinterpret_cast<IntFunction>(b)(4), 50);
    EXPECT_EQ(TrampolineAs<IntFunction>(FunctionHookTestTrampolineB)(4), 5);

    // Undone together; an entry that was never installed, or is named twice, says why.
    Trampoline* undo[] = {&FunctionHookTestTrampolineA, &FunctionHookTestTrampolineB,
                          &FunctionHookTestTrampolineC, &FunctionHookTestTrampolineB};
    const void* theirs[] = {Fn(&TimesTen), Fn(&TimesTenB), Fn(&TimesTen), Fn(&TimesTenB)};
    DWORD errors[4] = {1, 1, 0, 0};
    EXPECT_EQ(UnhookFunctions(undo, theirs, 4, errors), 2);
    EXPECT_EQ(errors[0], 0u);
    EXPECT_EQ(errors[1], 0u);
    EXPECT_EQ(errors[2], static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(errors[3], static_cast<DWORD>(ERROR_INVALID_BLOCK));
    EXPECT_EQ(std::memcmp(a, kIncrement.begin(), kIncrement.size()), 0);
    EXPECT_EQ(std::memcmp(b, kIncrement.begin(), kIncrement.size()), 0);

    // Once restored, a second removal finds no jump, as for one at a time.
    EXPECT_EQ(UnhookFunctions(undo, theirs, 2, errors), 0);
    EXPECT_EQ(errors[0], static_cast<DWORD>(ERROR_INVALID_BLOCK));
    EXPECT_EQ(errors[1], static_cast<DWORD>(ERROR_INVALID_BLOCK));
    // And the batch's limit is kept.
    EXPECT_EQ(HookFunctions(trampolines, replacements, kMaxHooksAtOnce + 1, hooked), 0);
}

// Two trampolines whose getters name one function: the second would patch
// over the first's jump, and its trampoline would copy that jump; it is
// refused, and the first stays whole.
TEST_F(FunctionHookTest, TwoEntriesForOneFunctionTakeOnlyTheFirst) {
    uint8_t* a = Emit(kIncrement);
    g_targets[0] = a;
    g_targets[1] = a;
    Trampoline* trampolines[] = {&FunctionHookTestTrampolineA, &FunctionHookTestTrampolineB};
    const void* replacements[] = {Fn(&TimesTen), Fn(&TimesTenB)};
    bool hooked[2] = {false, true};
    EXPECT_EQ(HookFunctions(trampolines, replacements, 2, hooked), 1);
    EXPECT_TRUE(hooked[0]);
    EXPECT_FALSE(hooked[1]);
    EXPECT_EQ(reinterpret_cast<IntFunction>(a)(4), 50);
    EXPECT_EQ(std::memcmp(&FunctionHookTestTrampolineB, &before[1], sizeof(Trampoline)), 0);
    EXPECT_EQ(UnhookFunction(&FunctionHookTestTrampolineA, Fn(&TimesTen)), 1);
    EXPECT_EQ(std::memcmp(a, kIncrement.begin(), kIncrement.size()), 0);
}


}  // namespace
