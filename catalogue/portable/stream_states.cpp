#include "catalogue/portable/stream_states.h"

#include <cstring>
#include <new>

namespace {

const char* const kVerdictWords[] = {"", "en ligne", "hors ligne", "non vérifiable"};
constexpr int kVerdictCount = 4;
constexpr int kDaysPer400Years = 146097;
constexpr int kDaysFrom0000To1970 = 719468;   // from 1 March of year 0
constexpr int kDateDigits = 10;               // AAAA-MM-JJ

// Reads `count` digits; -1 when one is not a digit.
int Digits(const char* text, int count) {
    int value = 0;
    for (int k = 0; k < count; ++k) {
        if (text[k] < '0' || text[k] > '9') return -1;
        value = value * 10 + (text[k] - '0');
    }
    return value;
}

// French counts 0 and 1 in the singular.
const char* Plural(int count, const char* word) { return count > 1 ? word : ""; }

}  // namespace

// The civil-from-days arithmetic, on years that begin in March.
int DayNumber(int year, int month, int day) {
    static const int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > kMonthDays[month - 1]) return -1;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (month == 2 && day == 29 && !leap) return -1;
    year -= month <= 2;
    const int era = year / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPer400Years + dayOfEra - kDaysFrom0000To1970;
}

void DayDate(int number, int& year, int& month, int& day) {
    number += kDaysFrom0000To1970;
    const int era = number / kDaysPer400Years;
    const int dayOfEra = number - era * kDaysPer400Years;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = yearOfEra + era * 400 + (month <= 2);
}

StreamStates::StreamStates() : index_(kMaxStates) {
    if (index_.Usable()) states_ = new (std::nothrow) CheckState[index_.Capacity()];
}

StreamStates::~StreamStates() { delete[] states_; }

const CheckState* StreamStates::Find(const char* address) const {
    if (states_ == nullptr) return nullptr;
    const size_t at = const_cast<AddressIndex&>(index_).Place(address, false);
    return at == Text::npos || states_[at].verdict == CheckVerdict::Unknown ? nullptr : &states_[at];
}

bool StreamStates::Set(const char* address, CheckVerdict verdict, const char* reason, int day) {
    const size_t at = states_ ? index_.Place(address, true) : Text::npos;
    if (at == Text::npos) return false;
    CheckState& state = states_[at];
    state.verdict = verdict;
    state.day = day;
    state.reason = reason;
    return true;
}

void StreamStates::Read(const char* bytes, size_t size, int today) {
    const char* end = bytes + size;
    for (const char* line = bytes; line < end;) {
        const char* lineEnd = static_cast<const char*>(memchr(line, '\n', static_cast<size_t>(end - line)));
        if (lineEnd == nullptr) lineEnd = end;
        const Text text(line, static_cast<size_t>(lineEnd - line) - (lineEnd > line && lineEnd[-1] == '\r'));
        line = lineEnd + 1;
        if (text.size() > kMaxStateLineBytes || strlen(text.c_str()) != text.size()) continue;
        const size_t reasonAt = text.find('\t');
        const size_t dateAt = reasonAt == Text::npos ? Text::npos : text.find('\t', reasonAt + 1);
        if (dateAt == Text::npos || text.size() < dateAt + 1 + kDateDigits + 2 || text[dateAt + 1 + kDateDigits] != '\t')
            continue;
        const char* date = text.c_str() + dateAt + 1;
        const char* address = date + kDateDigits + 1;
        if (date[4] != '-' || date[7] != '-' || strchr(address, '\t')) continue;
        const int day = DayNumber(Digits(date, 4), Digits(date + 5, 2), Digits(date + 8, 2));
        if (day < 0 || day > today || today - day > kCheckLifetimeDays) continue;
        const Text word = text.substr(0, reasonAt);
        for (int verdict = 1; verdict < kVerdictCount; ++verdict) {
            if (word == kVerdictWords[verdict]) {
                Set(address, static_cast<CheckVerdict>(verdict), text.substr(reasonAt + 1, dateAt - reasonAt - 1).c_str(),
                    day);
            }
        }
    }
}

void StreamStates::AppendLine(Text& out, const char* address) const {
    const CheckState* state = Find(address);
    // An address that would break its line is not kept.
    if (state == nullptr || strpbrk(address, "\t\r\n")) return;
    int year, month, day;
    DayDate(state->day, year, month, day);
    char date[16];
    FormatText(date, sizeof date, "\t%04d-%02d-%02d\t", year, month, day);
    out += kVerdictWords[static_cast<int>(state->verdict)];
    out += '\t';
    out += state->reason;
    out += date;
    out += address;
    out += '\n';
}

void FormatCheckProgress(char* out, size_t size, int checked, int total, int silent) {
    FormatText(out, size, "Vérification : %d / %d – %d hors ligne", checked, total, silent);
}

void FormatCheckSummary(char* out, size_t size, int alive, int silent, int unverifiable) {
    const int checked = alive + silent + unverifiable;
    FormatText(out, size, "%d flux vérifié%s : %d en ligne, %d hors ligne, %d non vérifiable%s", checked,
               Plural(checked, "s"), alive, silent, unverifiable, Plural(unverifiable, "s"));
}

void FormatSilentSlogan(char* out, size_t size, int day) {
    int year, month, date;
    DayDate(day, year, month, date);
    FormatText(out, size, "Hors ligne (vérifié le %02d/%02d)", date, month);
}
