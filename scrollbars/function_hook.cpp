#include "scrollbars/function_hook.h"

#include <tlhelp32.h>

#include <cstring>

#include "scrollbars/portable/instruction_length.h"

namespace {

constexpr uint8_t kJumpRelative = 0xE9;
constexpr int kJumpLength = 5;
// Bytes read at a code address when decoding its first instructions.
constexpr size_t kCodeWindow = kMaxHookSpan + kMaxInstructionLength;

uint32_t Address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
uint8_t* Pointer(uint32_t address) { return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address)); }

uint32_t Read32(const uint8_t* p) {
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

void WriteJump(uint8_t* at, uint32_t atAddress, uint32_t target) {
    at[0] = kJumpRelative;
    uint32_t displacement = target - (atAddress + kJumpLength);
    std::memcpy(at + 1, &displacement, 4);
}

uint32_t JumpTarget(const uint8_t* jump) { return Address(jump) + kJumpLength + Read32(jump + 1); }

// How many bytes from `p` on (at most `wanted`) can be read without a fault.
size_t ReadableBytes(const void* p, size_t wanted) {
    size_t readable = 0;
    const uint8_t* at = static_cast<const uint8_t*>(p);
    while (readable < wanted) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(at + readable, &info, sizeof info)) break;
        const DWORD readableProtections = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                          PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (info.State != MEM_COMMIT || (info.Protect & PAGE_GUARD) || !(info.Protect & readableProtections)) break;
        const uint8_t* end = static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize;
        readable = static_cast<size_t>(end - at);
    }
    return readable < wanted ? readable : wanted;
}

// The address in the import slot of an indirect jump FF 25 <slot>, or null.
const uint8_t* SlotTarget(const uint8_t* jump) {
    const uint8_t* slot = Pointer(Read32(jump + 2));
    if (ReadableBytes(slot, 4) < 4) return nullptr;
    return Pointer(Read32(slot));
}

// A stub that only passes the call on: instructions without effect, then
// jmp [slot] (also with nothing before it) or jmp rel32 (only after at least
// one of them: a bare relative jump at a function's start is left alone).
const uint8_t* ForwardingTarget(const uint8_t* p) {
    size_t available = ReadableBytes(p, 16);
    size_t at = 0;
    int pushed = 0;   // push ebp not yet popped
    int skipped = 0;
    while (at + 1 <= available) {
        const uint8_t* q = p + at;
        size_t left = available - at;
        if (left >= 6 && q[0] == 0xFF && q[1] == 0x25) return pushed == 0 ? SlotTarget(q) : nullptr;
        if (left >= 5 && q[0] == kJumpRelative) return pushed == 0 && skipped > 0 ? Pointer(JumpTarget(q)) : nullptr;
        if (left >= 2 && (q[0] == 0x8B || q[0] == 0x89) && q[1] == 0xFF) {   // mov edi, edi
            at += 2;
        } else if (q[0] == 0x90) {   // nop
            at += 1;
        } else if (left >= 2 && q[0] == 0x66 && q[1] == 0x90) {
            at += 2;
        } else if (q[0] == 0x55) {   // push ebp
            ++pushed;
            at += 1;
        } else if (left >= 2 && pushed > 0 &&
                   ((q[0] == 0x8B && q[1] == 0xEC) || (q[0] == 0x89 && q[1] == 0xE5))) {   // mov ebp, esp
            at += 2;
        } else if (q[0] == 0x5D && pushed > 0) {   // pop ebp
            --pushed;
            at += 1;
        } else {
            return nullptr;
        }
        ++skipped;
    }
    return nullptr;
}

bool ShowsPreInstallPattern(const uint8_t* t) {
    return t[0] == 0x90 && t[1] == 0x90 && t[2] == 0xE8 && t[7] == 0xFF && t[8] == 0xE0;
}

bool ShowsInstalledLayout(const uint8_t* t) {
    int n = t[kTrampolineSpanByte];
    return n >= kJumpLength && n <= kMaxHookSpan && t[n] == kJumpRelative;
}

// Trampolines: import jumps are followed, and so are relative jumps
// (incremental-link thunks) unless the block is itself a trampoline, whose
// copied first instruction may well be such a jump.
uint8_t* ResolveTrampoline(Trampoline* trampoline) {
    const uint8_t* p = trampoline->bytes;
    for (int hop = 0; hop < 8; ++hop) {
        if (ReadableBytes(p, kTrampolineSize) < static_cast<size_t>(kTrampolineSize)) return nullptr;
        if (ShowsPreInstallPattern(p) || ShowsInstalledLayout(p)) break;
        const uint8_t* next = nullptr;
        if (p[0] == 0xFF && p[1] == 0x25) next = SlotTarget(p);
        else if (p[0] == kJumpRelative) next = Pointer(JumpTarget(p));
        if (!next) break;
        p = next;
    }
    return const_cast<uint8_t*>(p);
}

const uint8_t* ResolveCode(const void* address) {
    const uint8_t* p = static_cast<const uint8_t*>(address);
    for (int hop = 0; p && hop < 8; ++hop) {
        const uint8_t* next = ForwardingTarget(p);
        if (!next) break;
        p = next;
    }
    return p;
}

// One hook or unhook at a time in the process.
volatile LONG g_hookLock = 0;

struct HookLock {
    HookLock() {
        while (InterlockedCompareExchange(&g_hookLock, 1, 0) != 0) Sleep(0);
    }
    ~HookLock() { InterlockedExchange(&g_hookLock, 0); }
};

// The pre-installation code of every trampoline installed so far. A
// removed trampoline keeps its copied instructions (they still lead into
// the function, and a thread may be running them), so a second removal
// finds the function without its jump; installing it again starts from the
// code kept here.
struct KnownTrampoline {
    uint8_t* trampoline;
    bool installed;
    uint8_t pattern[kTrampolineSize];
};
constexpr int kKnownTrampolines = 64;
KnownTrampoline g_known[kKnownTrampolines];

KnownTrampoline* FindKnown(const uint8_t* trampoline) {
    for (KnownTrampoline& k : g_known)
        if (k.trampoline == trampoline) return &k;
    return nullptr;
}

// Memory made writable for a moment, put back in reverse order.
class WritableCode {
public:
    bool Add(void* at, size_t size) {
        if (count_ == kRanges) return false;
        FlushInstructionCache(GetCurrentProcess(), at, size);
        DWORD old = 0;
        if (!VirtualProtect(at, size, PAGE_EXECUTE_READWRITE, &old)) return false;
        ranges_[count_++] = {at, size, old};
        return true;
    }
    ~WritableCode() {
        DWORD error = GetLastError();
        while (count_ > 0) {
            Range& r = ranges_[--count_];
            FlushInstructionCache(GetCurrentProcess(), r.at, r.size);
            DWORD ignored;
            VirtualProtect(r.at, r.size, r.old, &ignored);
        }
        SetLastError(error);
    }

private:
    struct Range {
        void* at;
        size_t size;
        DWORD old;
    };
    // A hook writes its trampoline and the function's first bytes.
    static constexpr int kRanges = 2 * kMaxHooksAtOnce;
    Range ranges_[kRanges];
    int count_ = 0;
};

struct CodeWrite {
    uint8_t* at;
    const uint8_t* bytes;
    size_t size;
    const uint8_t* expected;   // what must still be there, size bytes
};

struct CodeRange {
    uint32_t begin;
    uint32_t end;
};

enum class WriteResult { kWritten, kChanged, kBusy };

constexpr int kMaxThreads = 1024;
constexpr int kWriteAttempts = 20;

// The other threads of the process into `ids`. With `known`, false also
// when one of them is not among those. False when they cannot be listed.
// Allocates nothing: it also runs while the others are stopped.
bool ListOtherThreads(DWORD self, DWORD process, DWORD* ids, int& count, const DWORD* known, int knownCount) {
    count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool listed = true;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more && listed; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != process || entry.th32ThreadID == self) continue;
        if (count == kMaxThreads) {
            listed = false;
            break;
        }
        ids[count++] = entry.th32ThreadID;
        if (known) {
            bool seen = false;
            for (int k = 0; k < knownCount && !seen; ++k) seen = known[k] == entry.th32ThreadID;
            listed = seen;
        }
    }
    CloseHandle(snapshot);
    return listed;
}

// Writes code while every other thread of the process is suspended, and
// only when none of them is stopped inside `guarded` (the bytes rewritten,
// and code whose return lands there). Threads that are running inside
// those bytes are given a moment and the write is tried again. Nothing here
// may allocate from a heap while the threads are suspended: one of them
// could hold its lock.
WriteResult WriteCodeWithOthersSuspended(const CodeWrite* writes, int writeCount, const CodeRange* guarded,
                                         int guardedCount) {
    DWORD self = GetCurrentThreadId();
    DWORD process = GetCurrentProcessId();
    static DWORD ids[kMaxThreads];
    static DWORD nowIds[kMaxThreads];
    static HANDLE suspended[kMaxThreads];
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        int idCount = 0;
        if (!ListOtherThreads(self, process, ids, idCount, nullptr, 0)) return WriteResult::kBusy;

        int suspendedCount = 0;
        for (int k = 0; k < idCount; ++k) {
            HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE,
                                       ids[k]);
            if (!thread) continue;   // ended since the snapshot
            if (SuspendThread(thread) == static_cast<DWORD>(-1)) {
                CloseHandle(thread);
                continue;
            }
            suspended[suspendedCount++] = thread;
        }

        // A thread that one of them started after the snapshot runs on: look
        // again now that they are all stopped, and start over if one came.
        int nowCount = 0;
        bool busy = !ListOtherThreads(self, process, nowIds, nowCount, ids, idCount);
        for (int k = 0; k < suspendedCount && !busy; ++k) {
            CONTEXT context;
            std::memset(&context, 0, sizeof context);
            context.ContextFlags = CONTEXT_CONTROL;
            if (!GetThreadContext(suspended[k], &context)) {
                busy = true;
                break;
            }
            for (int g = 0; g < guardedCount; ++g)
                if (context.Eip >= guarded[g].begin && context.Eip < guarded[g].end) busy = true;
        }

        WriteResult result = WriteResult::kBusy;
        if (!busy) {
            result = WriteResult::kWritten;
            for (int w = 0; w < writeCount; ++w)
                if (std::memcmp(writes[w].at, writes[w].expected, writes[w].size) != 0) result = WriteResult::kChanged;
            if (result == WriteResult::kWritten) {
                for (int w = 0; w < writeCount; ++w) {
                    std::memcpy(writes[w].at, writes[w].bytes, writes[w].size);
                    FlushInstructionCache(GetCurrentProcess(), writes[w].at, writes[w].size);
                }
            }
        }
        for (int k = 0; k < suspendedCount; ++k) {
            ResumeThread(suspended[k]);
            CloseHandle(suspended[k]);
        }
        if (result != WriteResult::kBusy) return result;
        Sleep(1);
    }
    return WriteResult::kBusy;
}

// Length of a small function up to and including its first return, for
// telling whether a thread is inside a trampoline's getter.
uint32_t GetterLength(const uint8_t* getter) {
    size_t available = ReadableBytes(getter, 64);
    size_t at = 0;
    while (at < available) {
        X86Instruction d;
        int n = DecodeInstruction(getter + at, available - at, &d);
        if (n == 0) break;
        at += n;
        if (d.opcode == 0xC3 || d.opcode == 0xC2) break;
    }
    return static_cast<uint32_t>(at ? at : 1);
}

// An instruction after which the function does not go on in sequence.
bool EndsSequence(const uint8_t* q) {
    if (q[0] == 0xE9 || q[0] == 0xE0 || q[0] == 0xC2 || q[0] == 0xC3) return true;
    if (q[0] == 0xFF && q[1] == 0x25) return true;
    static const uint8_t kSegmentPrefixes[] = {0x26, 0x2E, 0x36, 0x3E, 0x64, 0x65};
    for (uint8_t prefix : kSegmentPrefixes)
        if (q[0] == prefix && q[1] == 0xFF && q[2] == 0x25) return true;
    return false;
}

}  // namespace

const void* ResolveFunctionAddress(const void* address) { return ResolveCode(address); }

namespace {

// Everything a hook writes, worked out before any thread is stopped.
struct PreparedHook {
    KnownTrampoline* known;
    uint8_t* trampoline;
    uint8_t* platform;
    int span;
    uint8_t original[kCodeWindow];
    uint8_t current[kTrampolineSize];
    uint8_t block[kTrampolineSize];
    uint8_t patch[kMaxHookSpan];
    CodeRange guarded[3];
};

bool PrepareHook(Trampoline* trampolineIn, const void* replacementIn, PreparedHook& hook) {
    if (!trampolineIn || !replacementIn) return false;
    uint8_t* trampoline = ResolveTrampoline(trampolineIn);
    const uint8_t* replacement = ResolveCode(replacementIn);
    if (!trampoline) return false;
    KnownTrampoline* known = FindKnown(trampoline);
    const uint8_t* pattern = trampoline;
    if (!ShowsPreInstallPattern(trampoline)) {
        if (!known || known->installed) return false;
        pattern = known->pattern;   // removed earlier: installed afresh
    }
    if (!known) known = FindKnown(nullptr);
    if (!known) return false;

    const uint8_t* getterCode = Pointer(Address(trampoline) + 7 + Read32(pattern + 3));
    auto getter = reinterpret_cast<void* (*)()>(const_cast<uint8_t*>(getterCode));
    uint8_t* platform = const_cast<uint8_t*>(ResolveCode(getter()));
    if (!platform || platform == replacement) return false;
    // A function overlapping the trampoline cannot be patched through it.
    if (platform + kMaxHookSpan > trampoline && platform < trampoline + kTrampolineSize) return false;

    uint8_t* original = hook.original;
    std::memset(original, 0, sizeof hook.original);
    size_t available = ReadableBytes(platform, kCodeWindow);
    std::memcpy(original, platform, available);

    // Whole instructions, until there is room for the jump.
    int span = 0;
    while (span < kJumpLength) {
        int n = DecodeInstruction(original + span, available - span, nullptr);
        if (n == 0) return false;
        const uint8_t* start = original + span;
        span += n;
        if (EndsSequence(start)) break;
    }
    if (span < kJumpLength || span > kMaxHookSpan) return false;

    // The trampoline: the span re-aimed, the jump back, the span's length.
    uint8_t* block = hook.block;
    std::memset(block, 0xCC, sizeof hook.block);
    int copied = 0;
    while (copied < span) {
        X86Instruction d;
        int n = RelocateInstruction(original + copied, span - copied, Address(platform) + copied, block + copied,
                                    kMaxHookSpan - copied, Address(trampoline) + copied, &d);
        if (n == 0) return false;
        if (d.target == BranchTarget::kRelative) {
            // A branch into the bytes that the jump replaces cannot be kept.
            uint32_t target = RelativeBranchTarget(d, original + copied, Address(platform) + copied);
            if (target - Address(platform) < static_cast<uint32_t>(span)) return false;
        }
        copied += n;
    }
    if (copied != span) return false;
    WriteJump(block + span, Address(trampoline) + span, Address(platform) + span);
    block[kTrampolineSpanByte] = static_cast<uint8_t>(span);

    std::memset(hook.patch, 0xCC, sizeof hook.patch);
    WriteJump(hook.patch, Address(platform), Address(replacement));
    std::memcpy(hook.current, trampoline, kTrampolineSize);

    // The slot is this trampoline's from now on, with the code it started
    // from; it counts as installed only once the code is written.
    uint8_t savedPattern[kTrampolineSize];
    std::memcpy(savedPattern, pattern, kTrampolineSize);
    known->trampoline = trampoline;
    std::memcpy(known->pattern, savedPattern, kTrampolineSize);

    hook.known = known;
    hook.trampoline = trampoline;
    hook.platform = platform;
    hook.span = span;
    // Nobody may be inside the bytes rewritten, nor in the getter, which
    // returns into the trampoline.
    hook.guarded[0] = {Address(platform), Address(platform) + span};
    hook.guarded[1] = {Address(trampoline), Address(trampoline) + kTrampolineSize};
    hook.guarded[2] = {Address(getterCode), Address(getterCode) + GetterLength(getterCode)};
    return true;
}

// Writes the prepared hooks with the other threads stopped once for all.
WriteResult WriteHooks(PreparedHook* const* hooks, int count) {
    WritableCode writable;
    CodeWrite writes[2 * kMaxHooksAtOnce];
    CodeRange guarded[3 * kMaxHooksAtOnce];
    for (int i = 0; i < count; ++i) {
        PreparedHook& h = *hooks[i];
        if (!writable.Add(h.trampoline, kTrampolineSize) || !writable.Add(h.platform, h.span))
            return WriteResult::kChanged;
        writes[2 * i] = {h.trampoline, h.block, kTrampolineSize, h.current};
        writes[2 * i + 1] = {h.platform, h.patch, static_cast<size_t>(h.span), h.original};
        for (int g = 0; g < 3; ++g) guarded[3 * i + g] = h.guarded[g];
    }
    WriteResult result = WriteCodeWithOthersSuspended(writes, 2 * count, guarded, 3 * count);
    if (result == WriteResult::kWritten)
        for (int i = 0; i < count; ++i) hooks[i]->known->installed = true;
    return result;
}

}  // namespace

int HookFunctions(Trampoline* const* trampolines, const void* const* replacements, int count, bool* hooked) {
    if (count < 0 || count > kMaxHooksAtOnce) return 0;
    HookLock lock;
    PreparedHook prepared[kMaxHooksAtOnce];
    PreparedHook* ready[kMaxHooksAtOnce];
    int readyCount = 0;
    for (int i = 0; i < count; ++i) {
        hooked[i] = false;
        if (trampolines[i] == nullptr) continue;
        // Two entries for one trampoline: only the first is taken.
        bool repeated = false;
        for (int j = 0; j < readyCount; ++j)
            if (ready[j]->trampoline == ResolveTrampoline(trampolines[i])) repeated = true;
        if (repeated || !PrepareHook(trampolines[i], replacements[i], prepared[i])) continue;
        // Two entries for one function: the second would patch over the first's jump.
        for (int j = 0; j < readyCount; ++j)
            if (ready[j]->platform == prepared[i].platform) repeated = true;
        if (repeated) continue;
        ready[readyCount++] = &prepared[i];
        hooked[i] = true;   // once written
    }
    if (readyCount == 0 || WriteHooks(ready, readyCount) == WriteResult::kWritten) return readyCount;
    // One of them changed meanwhile, or a thread stayed inside: each on its
    // own, prepared again from what its code is now.
    int written = 0;
    for (int i = 0; i < count; ++i) {
        if (!hooked[i]) continue;
        PreparedHook* one = &prepared[i];
        hooked[i] = PrepareHook(trampolines[i], replacements[i], prepared[i]) &&
                    WriteHooks(&one, 1) == WriteResult::kWritten;
        written += hooked[i] ? 1 : 0;
    }
    return written;
}

int HookFunction(Trampoline* trampoline, const void* replacement) {
    bool hooked = false;
    return HookFunctions(&trampoline, &replacement, 1, &hooked);
}

namespace {

// What restoring a function writes, worked out before any thread is stopped.
struct PreparedUnhook {
    uint8_t* trampoline;
    uint8_t* platform;
    int span;
    uint8_t restored[kTrampolineSize];
    uint8_t patched[kTrampolineSize];
};

// 0, or the error that UnhookFunction reports.
DWORD PrepareUnhook(Trampoline* trampolineIn, const void* replacementIn, PreparedUnhook& unhook) {
    if (!trampolineIn || !replacementIn) return ERROR_INVALID_HANDLE;
    uint8_t* trampoline = ResolveTrampoline(trampolineIn);
    const uint8_t* replacement = ResolveCode(replacementIn);
    // A span always leaves room for the jump back within the block.
    int n = trampoline ? trampoline[kTrampolineSpanByte] : 0;
    if (n < kJumpLength || n > kMaxHookSpan || trampoline[n] != kJumpRelative) return ERROR_INVALID_HANDLE;
    uint8_t* platform = Pointer(Address(trampoline) + kJumpLength + Read32(trampoline + n + 1));
    if (ReadableBytes(platform, n) < static_cast<size_t>(n) || platform[0] != kJumpRelative)
        return ERROR_INVALID_BLOCK;
    if (JumpTarget(platform) != Address(replacement)) return ERROR_INVALID_ACCESS;

    int copied = 0;
    while (copied < n) {
        int length = RelocateInstruction(trampoline + copied, n - copied, Address(trampoline) + copied,
                                         unhook.restored + copied, n - copied, Address(platform) + copied);
        if (length == 0) break;
        copied += length;
    }
    if (copied != n) return ERROR_INVALID_DATA;
    std::memcpy(unhook.patched, platform, n);
    unhook.trampoline = trampoline;
    unhook.platform = platform;
    unhook.span = n;
    return 0;
}

CodeRange g_replacementCode = {0, 0};

// Restores the prepared functions with the other threads stopped once for
// all; 0 or the error for every one of them.
DWORD WriteUnhooks(PreparedUnhook* const* unhooks, int count) {
    WritableCode writable;
    CodeWrite writes[kMaxHooksAtOnce];
    CodeRange guarded[kMaxHooksAtOnce + 1];
    for (int i = 0; i < count; ++i) {
        PreparedUnhook& u = *unhooks[i];
        if (!writable.Add(u.platform, u.span)) {
            const DWORD error = GetLastError();
            return error ? error : ERROR_INVALID_ACCESS;
        }
        writes[i] = {u.platform, u.restored, static_cast<size_t>(u.span), u.patched};
        guarded[i] = {Address(u.platform), Address(u.platform) + u.span};
    }
    guarded[count] = g_replacementCode;
    switch (WriteCodeWithOthersSuspended(writes, count, guarded, count + 1)) {
    case WriteResult::kWritten:
        break;
    case WriteResult::kChanged:
        return ERROR_INVALID_BLOCK;
    case WriteResult::kBusy:
        return ERROR_BUSY;
    }
    for (int i = 0; i < count; ++i)
        if (KnownTrampoline* known = FindKnown(unhooks[i]->trampoline)) known->installed = false;
    return 0;
}

}  // namespace

int UnhookFunctions(Trampoline* const* trampolines, const void* const* replacements, int count, DWORD* errors) {
    if (count < 0 || count > kMaxHooksAtOnce) return 0;
    HookLock lock;
    PreparedUnhook prepared[kMaxHooksAtOnce];
    PreparedUnhook* ready[kMaxHooksAtOnce];
    int readyCount = 0;
    for (int i = 0; i < count; ++i) {
        errors[i] = PrepareUnhook(trampolines[i], replacements[i], prepared[i]);
        for (int j = 0; j < readyCount && errors[i] == 0; ++j)
            if (ready[j]->platform == prepared[i].platform) errors[i] = ERROR_INVALID_BLOCK;   // restored once only
        if (errors[i] == 0) ready[readyCount++] = &prepared[i];
    }
    if (readyCount == 0) return 0;
    if (WriteUnhooks(ready, readyCount) == 0) return readyCount;
    // One of them changed meanwhile, or a thread stayed inside: each on its own.
    int restored = 0;
    for (int i = 0; i < count; ++i) {
        if (errors[i] != 0) continue;   // never ready
        PreparedUnhook* one = &prepared[i];
        errors[i] = WriteUnhooks(&one, 1);
        restored += errors[i] == 0 ? 1 : 0;
    }
    return restored;
}

void GuardReplacementCode(const void* begin, const void* end) { g_replacementCode = {Address(begin), Address(end)}; }

int UnhookFunction(Trampoline* trampoline, const void* replacement) {
    DWORD error = 0;
    if (UnhookFunctions(&trampoline, &replacement, 1, &error) == 1) return 1;
    SetLastError(error);
    return 0;
}
