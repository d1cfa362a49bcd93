// What the last check of the streams found, station by station, kept between
// starts in a side file beside the list ("<list name>.etat"): text, one line
// per address, "verdict TAB reason TAB date TAB address". A result older
// than a month counts as unknown; so does any line that cannot be read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/portable/address_index.h"
#include "catalogue/portable/text.h"

enum class CheckVerdict : uint8_t { Unknown, Alive, Silent, Unverifiable };

constexpr int kCheckLifetimeDays = 30;
// Longer lines than this are no line of ours: an address holds 259 characters.
constexpr size_t kMaxStateLineBytes = 1024;
// More than the catalogue holds, for states of stations since deleted.
constexpr size_t kMaxStates = 8192;
constexpr char kStateFileExtension[] = ".etat";

struct CheckState {
    CheckVerdict verdict = CheckVerdict::Unknown;
    int day = 0;   // DayNumber of the check
    Text reason;
};

// Days since 1 January 1970 of a date of the Gregorian calendar; -1 for no such date.
int DayNumber(int year, int month, int day);
void DayDate(int number, int& year, int& month, int& day);

class StreamStates {
public:
    StreamStates();
    ~StreamStates();
    StreamStates(const StreamStates&) = delete;
    StreamStates& operator=(const StreamStates&) = delete;

    // Null when nothing is known of the address.
    const CheckState* Find(const char* address) const;
    // False when no more addresses can be kept.
    bool Set(const char* address, CheckVerdict verdict, const char* reason, int day);
    // Reads a side file's bytes, taking the lines that are whole, not in the
    // future and not older than kCheckLifetimeDays on `today`.
    void Read(const char* bytes, size_t size, int today);
    // Appends the line of `address` when it is known.
    void AppendLine(Text& out, const char* address) const;

private:
    AddressIndex index_;
    CheckState* states_ = nullptr;   // one per slot of the index
};

// The French texts of a check.
// "Vérification : 120 / 4096 – 7 hors ligne"
void FormatCheckProgress(char* out, size_t size, int checked, int total, int silent);
// "4096 flux vérifiés : 3801 en ligne, 280 hors ligne, 15 non vérifiables"
void FormatCheckSummary(char* out, size_t size, int alive, int silent, int unverifiable);
// A silent station's slogan line: "Hors ligne (vérifié le 08/12)"
void FormatSilentSlogan(char* out, size_t size, int day);
