#include "host/library_thread.h"

namespace {

HMODULE ThisLibrary(DWORD flags) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | flags, reinterpret_cast<LPCSTR>(&ThisLibrary),
                       &module);
    return module;
}

}  // namespace

bool StartLibraryThread(LPTHREAD_START_ROUTINE main, void* argument) {
    HMODULE module = ThisLibrary(0);
    if (module == nullptr) return false;
    HANDLE thread = CreateThread(nullptr, 0, main, argument, 0, nullptr);
    if (thread == nullptr) {
        FreeLibrary(module);
        return false;
    }
    CloseHandle(thread);
    return true;
}

void LeaveLibraryThread() {
    // Leaves the library and the thread in one call that does not come back.
    FreeLibraryAndExitThread(ThisLibrary(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT), 0);
    for (;;) {
    }
}
