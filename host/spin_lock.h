// The lock between the interface thread and the network threads. Held for a
// few instructions at a time: a spin that yields is enough, and needs
// nothing made or freed.
#pragma once

#include <windows.h>

struct SpinLock {
    volatile LONG taken = 0;
};

inline void Lock(SpinLock& lock) {
    while (InterlockedExchange(&lock.taken, 1)) Sleep(0);
}
inline void Unlock(SpinLock& lock) { InterlockedExchange(&lock.taken, 0); }
