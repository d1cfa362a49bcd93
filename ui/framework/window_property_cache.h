// Finding the object bound to a window by a window property, on every
// message. Under Wine a GetPropA is a trip to the window server (about
// 10 µs), and a search in a full catalogue sends thousands of messages, so
// the latest bindings are remembered here. Bindings are made and ended
// through the cache, which therefore answers what GetPropA would; a binding
// ended by RemovePropA elsewhere would not be seen, so nothing else removes
// these properties. The cache belongs to the interface thread, which claims
// it at start; until then, and on every other thread, the properties are
// asked every time, and another thread's binding or ending only tells the
// owner to forget what it remembered.
#pragma once

#include <windows.h>

class WindowPropertyCache {
public:
    explicit constexpr WindowPropertyCache(const char* name)
        : name_(name), entries_(), next_(0), thread_(0), changes_(0), changesSeen_(0) {}

    // The calling thread becomes the one whose lookups are remembered.
    void ClaimOwner();

    void* Find(HWND window);
    void Set(HWND window, void* value);   // SetPropA, remembered
    void Remove(HWND window);             // RemovePropA, forgotten

private:
    struct Entry {
        HWND window;
        void* value;
    };
    static constexpr int kEntries = 8;

    bool OnOwnThread();
    void Forget(HWND window);
    void Remember(HWND window, void* value);

    const char* name_;
    Entry entries_[kEntries];
    int next_;
    DWORD thread_;
    // Bindings made or ended by other threads, counted; the owner forgets
    // everything when the count has moved since it last looked.
    volatile LONG changes_;
    LONG changesSeen_;
};
