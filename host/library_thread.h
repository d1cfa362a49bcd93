// Threads that run this library's code and may outlive the plugin's quit:
// each holds its own reference on the library, given back in the same call
// that ends the thread, so that the library leaves the process only once no
// thread can run its code any more.
#pragma once

#include <windows.h>

// False, holding nothing, when no thread could be started.
bool StartLibraryThread(LPTHREAD_START_ROUTINE main, void* argument);
// The last call of such a thread: gives its reference back and ends it.
[[noreturn]] void LeaveLibraryThread();
