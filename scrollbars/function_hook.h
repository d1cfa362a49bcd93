// Redirection of a function of the running process to a replacement, by
// rewriting the function's first instructions into a jump. The displaced
// instructions go to a trampoline, a 32-byte block of the library's own
// code, so that the replacement can still call the original through it.
//
// Before installation a trampoline calls a getter that returns the address
// of the function it stands for and jumps there (90 90 E8 <getter> FF E0),
// so calling it always calls the original. Once installed it holds the
// copied instructions, a jump back to the rest of the function, filler, and
// in its last byte the number of bytes copied.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int kTrampolineSize = 32;
constexpr int kTrampolineSpanByte = 31;
// Longest span of whole instructions that a trampoline can take.
constexpr int kMaxHookSpan = 26;

struct Trampoline {
    uint8_t bytes[kTrampolineSize];
};

#define ONDARIA_TRAMPOLINE_TEXT2(x) #x
#define ONDARIA_TRAMPOLINE_TEXT(x) ONDARIA_TRAMPOLINE_TEXT2(x)
#define ONDARIA_TRAMPOLINE_SYMBOL(name) ONDARIA_TRAMPOLINE_TEXT(__USER_LABEL_PREFIX__) #name

// Defines the trampoline `name` (an object of type Trampoline living in the
// library's code section, 32-byte aligned) whose pre-installation code
// calls `getter`, an extern "C" function without arguments returning the
// address of the function the trampoline stands for.
#define ONDARIA_TRAMPOLINE(name, getter)                                                  \
    extern "C" void* getter();                                                            \
    extern "C" Trampoline name;                                                           \
    asm(".section .text$ondaria_trampolines,\"xr\"\n"                                       \
        "\t.balign 32, 0xCC\n"                                                            \
        "\t.globl " ONDARIA_TRAMPOLINE_SYMBOL(name) "\n" ONDARIA_TRAMPOLINE_SYMBOL(name) ":\n" \
        "\tnop\n"                                                                         \
        "\tnop\n"                                                                         \
        "\tcall " ONDARIA_TRAMPOLINE_SYMBOL(getter) "\n"                                  \
        "\tjmp *%eax\n"                                                                   \
        "\t.fill 22, 1, 0xCC\n"                                                           \
        "\t.byte 0\n"                                                                     \
        ".text\n")

// The trampoline seen as the function it stands for.
template <typename Function>
Function TrampolineAs(Trampoline& trampoline) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(&trampoline));
}

// Patches the function named by the trampoline's getter so that it jumps to
// `replacement`. 1 on success; 0 leaves function and trampoline untouched.
int HookFunction(Trampoline* trampoline, const void* replacement);

// Undoes HookFunction. The trampoline keeps the copied instructions, which
// still lead into the function. 1 on success; 0 with the thread's last error:
// ERROR_INVALID_HANDLE (6) the trampoline was never installed,
// ERROR_INVALID_BLOCK (9) the function no longer starts with a jump (as after
// an earlier removal),
// ERROR_INVALID_ACCESS (12) its jump leads elsewhere than to `replacement`,
// ERROR_INVALID_DATA (13) the saved instructions cannot be copied back,
// ERROR_BUSY (170) another thread kept running inside the bytes to restore,
// or the error of a memory protection change that was refused.
int UnhookFunction(Trampoline* trampoline, const void* replacement);

// The same for several functions at once: the other threads of the process
// are stopped once for all of them rather than once each. Each entry's
// outcome is that of its own call: `hooked[i]`, or `errors[i]` (0 when
// restored, else UnhookFunction's error). At most kMaxHooksAtOnce entries;
// they return how many succeeded.
constexpr int kMaxHooksAtOnce = 8;
int HookFunctions(Trampoline* const* trampolines, const void* const* replacements, int count, bool* hooked);
int UnhookFunctions(Trampoline* const* trampolines, const void* const* replacements, int count, DWORD* errors);

// Code in which no other thread may be stopped when hooks are taken out (the
// replacements, up to where they note who called them): a thread there is
// waited for as one inside the bytes to restore is.
void GuardReplacementCode(const void* begin, const void* end);

// Where a call of `address` really lands: an indirect jump through an
// import slot (FF 25) is followed to the address in the slot, and so is a
// pure forwarding stub, a sequence of instructions without effect (a
// hot-patch prologue undone at once: mov edi,edi; push ebp; mov ebp,esp;
// pop ebp) ending in such an indirect jump or in a 32-bit relative jump.
const void* ResolveFunctionAddress(const void* address);
