// One catalogue entry and the header of a ".rtv" list file. Both are
// on-disk layouts as much as in-memory ones, so every offset is pinned.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kTextFieldSize = 260;      // 259 characters and a NUL
constexpr int kListNameSize = 32;        // 31 characters and a NUL
constexpr int kMaxSlots = 4096;
constexpr int kLogoSide = 48;
constexpr int kLogoBytes = kLogoSide * kLogoSide * 3;

#pragma pack(push, 1)
struct StreamRecord {
    int32_t index;
    int16_t kind;                         // 0 radio, 1 television
    char name[kTextFieldSize];
    char slogan[kTextFieldSize];
    char address[kTextFieldSize];
    char website[kTextFieldSize];
    char podcast[kTextFieldSize];
    char playlist[kTextFieldSize];
    char quality[kTextFieldSize];
    char format[kTextFieldSize];
    char keywords[kTextFieldSize];
    uint8_t padding[2];
    int32_t transparentColour;            // 0x00RRGGBB
    uint8_t logo[kLogoBytes];             // 48x48 BGR, bottom row first
};

struct ListFileHeader {
    int32_t version;
    int32_t headerSize;
    int32_t count;
    char listName[52];
};
#pragma pack(pop)

constexpr int32_t kStreamKindRadio = 0;
constexpr int32_t kStreamKindTv = 1;

static_assert(sizeof(StreamRecord) == 9264, "records are read and written as 9264 bytes each");
static_assert(offsetof(StreamRecord, index) == 0, "list files store records as these bytes: index at 0");
static_assert(offsetof(StreamRecord, kind) == 4, "list files store records as these bytes: kind at 4");
static_assert(offsetof(StreamRecord, name) == 6, "list files store records as these bytes: name at 6");
static_assert(offsetof(StreamRecord, slogan) == 266, "list files store records as these bytes: slogan at 266");
static_assert(offsetof(StreamRecord, address) == 526, "list files store records as these bytes: address at 526");
static_assert(offsetof(StreamRecord, website) == 786, "list files store records as these bytes: website at 786");
static_assert(offsetof(StreamRecord, podcast) == 1046, "list files store records as these bytes: podcast at 1046");
static_assert(offsetof(StreamRecord, playlist) == 1306, "list files store records as these bytes: playlist at 1306");
static_assert(offsetof(StreamRecord, quality) == 1566, "list files store records as these bytes: quality at 1566");
static_assert(offsetof(StreamRecord, format) == 1826, "list files store records as these bytes: format at 1826");
static_assert(offsetof(StreamRecord, keywords) == 2086, "list files store records as these bytes: keywords at 2086");
static_assert(offsetof(StreamRecord, padding) == 2346, "list files store records as these bytes: padding at 2346");
static_assert(offsetof(StreamRecord, transparentColour) == 2348, "list files store records as these bytes: transparentColour at 2348");
static_assert(offsetof(StreamRecord, logo) == 2352, "list files store records as these bytes: logo at 2352");

static_assert(sizeof(ListFileHeader) == 64, "a list file's header is 64 bytes");
static_assert(offsetof(ListFileHeader, version) == 0, "list files begin with these bytes: version at 0");
static_assert(offsetof(ListFileHeader, headerSize) == 4, "list files begin with these bytes: headerSize at 4");
static_assert(offsetof(ListFileHeader, count) == 8, "list files begin with these bytes: count at 8");
static_assert(offsetof(ListFileHeader, listName) == 12, "list files begin with these bytes: listName at 12");

// Text fields read from a file may lack their NUL. Terminating them once, at
// the door, lets every later reader treat them as ordinary strings.
// Returns the number of fields that had to be terminated.
int TerminateTextFields(StreamRecord& record);

// Length of a text field, never looking past its 260 bytes.
size_t FieldLength(const char (&field)[kTextFieldSize]);

// Copies text into a field, zero-filling it first and keeping at most 259 characters.
void SetField(char (&field)[kTextFieldSize], const char* text);
