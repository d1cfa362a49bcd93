// Finding the object bound to a window by a window property, on every
// message. Under Wine a GetPropA is a trip to the window server (about
// 10 µs), and a search in a full catalogue sends thousands of messages, so
// the latest bindings are remembered here. Bindings are made and ended
// through the cache, which therefore answers what GetPropA would; a binding
// ended by RemovePropA elsewhere would not be seen, so nothing else removes
// these properties. Other threads than the first to use it go to the
// properties every time.
#pragma once

#include <windows.h>

class WindowPropertyCache {
public:
    explicit constexpr WindowPropertyCache(const char* name) : name_(name), entries_(), next_(0), thread_(0) {}

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
};
