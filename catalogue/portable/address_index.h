// Which stream addresses a catalogue already holds, found in constant time,
// so that reading a long playlist against a full catalogue stays linear.
// Two addresses are one station when they differ only in the case of their
// scheme and host, or by a trailing slash.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/portable/text.h"

// The form in which addresses are compared: scheme and host in lower case,
// one trailing slash dropped. Only for comparing; records keep what the user wrote.
Text ComparableAddress(const char* address);

class AddressIndex {
public:
    // Room for `most` addresses; an index that could not get it holds none and says so.
    explicit AddressIndex(size_t most);
    ~AddressIndex();
    AddressIndex(const AddressIndex&) = delete;
    AddressIndex& operator=(const AddressIndex&) = delete;

    bool Usable() const { return slots_ != nullptr; }
    bool Contains(const char* address) const;
    // False when the index is full (or unusable); an address held already is not added twice.
    bool Insert(const char* address);
    // The slot of `address`, below Capacity(), for a table of the caller's
    // kept beside the index; it is added when `add`. npos when absent, or
    // when the index is full.
    size_t Place(const char* address, bool add);
    size_t Capacity() const { return capacity_; }

private:
    struct Slot {
        bool used = false;
        uint32_t hash = 0;
        Text address;
    };
    size_t Find(const Text& comparable, uint32_t hash) const;   // its slot, or the free one it would take

    Slot* slots_ = nullptr;
    size_t capacity_ = 0;   // a power of two, at least twice `most`
    size_t most_ = 0;
    size_t count_ = 0;
};
