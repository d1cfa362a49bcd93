#include "tools/standin_host/unload_guard.h"

#include <cstdio>
#include <vector>

namespace standin {

namespace {

struct UnloadedRange {
    UINT_PTR start;
    UINT_PTR end;
    char name[MAX_PATH];
};

// Process-wide, written only on the host's thread before FreeLibrary.
std::vector<UnloadedRange>* g_ranges = nullptr;
char g_context[400] = "";

bool AddressIsUnmapped(UINT_PTR address) {
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info)) return true;
    return info.State != MEM_COMMIT;
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    // Windows reports a jump into unmapped code as an access violation;
    // Wine under qemu-i386 as an illegal instruction.
    const bool intoNothing = record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION ||
                             record->ExceptionCode == EXCEPTION_ILLEGAL_INSTRUCTION;
    if (!intoNothing || !g_ranges) return EXCEPTION_CONTINUE_SEARCH;
    UINT_PTR at = reinterpret_cast<UINT_PTR>(record->ExceptionAddress);
    for (const UnloadedRange& range : *g_ranges) {
        // The range may hold a library loaded later: only an unmapped address counts.
        if (at >= range.start && at < range.end && AddressIsUnmapped(at)) {
            char text[MAX_PATH + 600];
            std::snprintf(text, sizeof text,
                          "standin host: code of the unloaded plugin %s was called at %p "
                          "(a window procedure or hook left behind)%s%s\n",
                          range.name, record->ExceptionAddress, g_context[0] ? ", while " : "", g_context);
            std::fputs(text, stderr);
            std::fflush(stderr);
            OutputDebugStringA(text);
            TerminateProcess(GetCurrentProcess(), kUnloadedCodeExitCode);
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void WatchUnloadedModule(HMODULE module, const std::string& name) {
    if (!module) return;
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return;
    if (!g_ranges) {
        g_ranges = new std::vector<UnloadedRange>();
        AddVectoredExceptionHandler(1, OnException);
    }
    UnloadedRange range = {};
    range.start = reinterpret_cast<UINT_PTR>(base);
    range.end = range.start + nt->OptionalHeader.SizeOfImage;
    lstrcpynA(range.name, name.c_str(), sizeof range.name);
    g_ranges->push_back(range);
}

void SetUnloadGuardContext(const std::string& text) { lstrcpynA(g_context, text.c_str(), sizeof g_context); }

}  // namespace standin
