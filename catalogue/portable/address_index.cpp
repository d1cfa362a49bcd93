#include "catalogue/portable/address_index.h"

#include <cstring>
#include <new>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// FNV-1a, 32 bits.
constexpr uint32_t kHashStart = 2166136261u;
constexpr uint32_t kHashFactor = 16777619u;

uint32_t HashOf(const Text& text) {
    uint32_t hash = kHashStart;
    for (size_t k = 0; k < text.size(); ++k) hash = (hash ^ static_cast<unsigned char>(text[k])) * kHashFactor;
    return hash;
}

}  // namespace

Text ComparableAddress(const char* address) {
    Text text(address);
    size_t scheme = text.find("://");
    size_t hostEnd = scheme == Text::npos ? 0 : text.find_first_of("/?#", scheme + 3);
    if (hostEnd == Text::npos) hostEnd = text.size();
    // user:password@ keeps its case; the host after it does not.
    size_t at = scheme == Text::npos ? Text::npos : text.find('@', scheme + 3);
    size_t hostStart = at != Text::npos && at < hostEnd ? at + 1 : scheme + 3;
    for (size_t k = 0; scheme != Text::npos && k < hostEnd; ++k) {
        if (k < scheme || k >= hostStart) text[k] = Lower(text[k]);
    }
    if (text.size() > 1 && text[text.size() - 1] == '/') text.resize(text.size() - 1);
    return text;
}

AddressIndex::AddressIndex(size_t most) : most_(most) {
    size_t capacity = 16;
    while (capacity < most * 2) capacity *= 2;
    slots_ = new (std::nothrow) Slot[capacity];
    capacity_ = slots_ ? capacity : 0;
}

AddressIndex::~AddressIndex() { delete[] slots_; }

size_t AddressIndex::Find(const Text& comparable, uint32_t hash) const {
    size_t at = hash & (capacity_ - 1);
    while (slots_[at].used && !(slots_[at].hash == hash && slots_[at].address == comparable)) at = (at + 1) & (capacity_ - 1);
    return at;
}

bool AddressIndex::Contains(const char* address) const {
    if (!slots_) return false;
    const Text comparable = ComparableAddress(address);
    return slots_[Find(comparable, HashOf(comparable))].used;
}

size_t AddressIndex::Place(const char* address, bool add) {
    if (!slots_) return Text::npos;
    Text comparable = ComparableAddress(address);
    const uint32_t hash = HashOf(comparable);
    const size_t at = Find(comparable, hash);
    Slot& slot = slots_[at];
    if (slot.used) return at;
    if (!add || count_ >= most_) return Text::npos;
    slot.used = true;
    slot.hash = hash;
    slot.address = static_cast<Text&&>(comparable);
    ++count_;
    return at;
}

bool AddressIndex::Insert(const char* address) { return Place(address, true) != Text::npos; }
