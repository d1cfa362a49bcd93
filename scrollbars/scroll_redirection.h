// Redirection of the system's eight scroll-bar functions, so that the calls
// a list box makes on itself from inside the system's own code reach the
// skinned bars when the window has them, and the system otherwise.
#pragma once

#include <windows.h>

struct Trampoline;

// Hooks the eight functions (0 without doing anything on a system outside
// the NT family, else 1; a function that cannot be hooked keeps working
// unhooked). Called from init before the panel exists.
int InstallScrollRedirection();
// The same for the version word that GetVersion would return.
int InstallScrollRedirectionForVersion(DWORD version);
// Unhooks the eight. Where a hook cannot be taken out (something else
// patched over it), jumps into this module stay reachable, so the module is
// pinned for the life of the process; the result is then 0, else 1. The
// module is pinned too, the hooks all taken out, once a thread other than
// the one that installed them has called one: it may still be inside.
int RemoveScrollRedirection();

// The redirected functions, in the order they are hooked.
enum ScrollCall {
    kEnableScrollBarCall,
    kGetScrollInfoCall,
    kGetScrollPosCall,
    kGetScrollRangeCall,
    kSetScrollInfoCall,
    kSetScrollPosCall,
    kSetScrollRangeCall,
    kShowScrollBarCall,
    kScrollCallCount
};

struct ScrollRedirection {
    const char* name;         // the system function, exported by user32
    Trampoline* trampoline;   // calls the system function, hooked or not
    const void* replacement;
};

// What each call is redirected to, indexed by ScrollCall.
extern const ScrollRedirection kScrollRedirections[kScrollCallCount];
