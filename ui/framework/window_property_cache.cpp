#include "ui/framework/window_property_cache.h"

void WindowPropertyCache::ClaimOwner() {
    for (Entry& entry : entries_) entry = Entry{nullptr, nullptr};
    changesSeen_ = changes_;
    thread_ = GetCurrentThreadId();
}

bool WindowPropertyCache::OnOwnThread() {
    if (thread_ == 0 || thread_ != GetCurrentThreadId()) return false;
    const LONG changes = changes_;
    if (changes != changesSeen_) {
        for (Entry& entry : entries_) entry = Entry{nullptr, nullptr};
        changesSeen_ = changes;
    }
    return true;
}

void WindowPropertyCache::Forget(HWND window) {
    for (Entry& entry : entries_) {
        if (entry.window == window) entry = Entry{nullptr, nullptr};
    }
}

void WindowPropertyCache::Remember(HWND window, void* value) {
    for (Entry& entry : entries_) {
        if (entry.window == window) {
            entry.value = value;
            return;
        }
    }
    entries_[next_] = Entry{window, value};
    next_ = (next_ + 1) % kEntries;
}

void* WindowPropertyCache::Find(HWND window) {
    if (window == nullptr) return nullptr;
    const bool own = OnOwnThread();
    if (own) {
        for (const Entry& entry : entries_) {
            if (entry.window == window) return entry.value;
        }
    }
    void* value = GetPropA(window, name_);
    // Only bindings are remembered: a window without one may get one later
    // from code that does not go through here.
    if (own && value) Remember(window, value);
    return value;
}

void WindowPropertyCache::Set(HWND window, void* value) {
    SetPropA(window, name_, value);
    if (OnOwnThread()) Remember(window, value);
    else InterlockedIncrement(&changes_);
}

void WindowPropertyCache::Remove(HWND window) {
    RemovePropA(window, name_);
    // Any thread's removal ends the binding for every thread.
    if (OnOwnThread()) Forget(window);
    else InterlockedIncrement(&changes_);
}
