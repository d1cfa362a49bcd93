// The library's entry point, in place of MinGW's start-up objects, which
// bring thread-local storage, pseudo-relocation and exit-table support that
// this library does not use (its link refuses pseudo-relocations). At load it
// runs the constructors of the static objects; at unload the destructors
// they registered with atexit, last first, then the linker's own list.
#include <windows.h>

using StaticFunction = void (*)();

// Made by the linker: the first entry is -1 or a count, then the functions, then 0.
extern "C" StaticFunction __CTOR_LIST__[];
extern "C" StaticFunction __DTOR_LIST__[];

namespace {

// The library's static objects with destructors, with room to spare.
constexpr int kMaxExitFunctions = 64;
StaticFunction g_exitFunctions[kMaxExitFunctions];
int g_exitCount = 0;
// A destructor that found no room: the load fails rather than leak or skip it unnoticed.
bool g_exitTableOverflowed = false;

void RunConstructors() {
    int count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    // From the end, as GCC's own start-up does.
    for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

void RunDestructors() {
    while (g_exitCount > 0) g_exitFunctions[--g_exitCount]();
    for (int i = 1; __DTOR_LIST__[i]; ++i) __DTOR_LIST__[i]();
}

}  // namespace

// The library's own: run at unload, not at the end of the process, which
// comes after the library has gone.
extern "C" int atexit(StaticFunction function) {
    if (g_exitCount == kMaxExitFunctions) {
        g_exitTableOverflowed = true;
        return -1;
    }
    g_exitFunctions[g_exitCount++] = function;
    return 0;
}

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        RunConstructors();
        // More static objects than the table holds: refuse to load, so that
        // the first test (and the first user) sees it.
        return g_exitTableOverflowed ? FALSE : TRUE;
    }
    // At the end of the process (`reserved` set) the other threads are gone,
    // perhaps holding the heap's lock: the destructors, which free memory,
    // would wait for ever. The process's memory goes with it anyway.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) RunDestructors();
    return TRUE;
}
