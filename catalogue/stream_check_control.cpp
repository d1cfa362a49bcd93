// The preferences' check of the streams: starting and stopping it, its
// results taken by address into the states shown on the panel's rows, the
// side file that keeps them, and the silent stations set aside.
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "catalogue/list_view.h"
#include "catalogue/portable/list_file_format.h"
#include "catalogue/preferences_dialog.h"
#include "host/plugin.h"
#include "storage/portable/file_replace.h"
#include "ui/framework/modal_loops.h"

namespace {

constexpr UINT kStreamCheckMessage = WM_APP + 2;
// The side file is a line per station: more than this is no file of ours,
// and only its beginning is read.
constexpr size_t kMaxStatesFileBytes = 2 * 1024 * 1024;
const char kSetAsideSuffix[] = " - hors ligne";
const char kListExtension[] = ".rtv";
const char kCaption[] = "Ondaria";

int Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DayNumber(now.wYear, now.wMonth, now.wDay);
}

bool IsSilent(const StreamStates& states, const StreamRecord& record) {
    const CheckState* state = states.Find(record.address);
    return state && state->verdict == CheckVerdict::Silent;
}

bool WriteText(FILE* file, void* context) {
    const Text& text = *static_cast<const Text*>(context);
    return fwrite(text.c_str(), 1, text.size(), file) == text.size();
}

struct RecordCursor {
    const std::vector<const StreamRecord*>& records;
    size_t next;
};

const StreamRecord* NextRecord(void* context) {
    auto& cursor = *static_cast<RecordCursor*>(context);
    return cursor.next < cursor.records.size() ? cursor.records[cursor.next++] : nullptr;
}

bool KeepRecord(void* context, StreamRecord* record) {
    static_cast<std::vector<std::unique_ptr<StreamRecord>>*>(context)->emplace_back(record);
    return true;
}

bool SilentRecord(void* context, const StreamRecord& record) {
    return IsSilent(*static_cast<const StreamStates*>(context), record);
}

}  // namespace

bool CPref::CheckStatesPath(const char* suffix, char (&path)[kPathSize]) const {
    const char* folder = catalogue && catalogue->panel ? catalogue->panel->pluginFolder : nullptr;
    char base[kListNameSize + 2];
    ListFileBaseName(catalogue ? catalogue->listName : "", base, sizeof base);
    size_t length = 0;
    path[0] = 0;
    return folder && AppendToPath(path, length, folder) && AppendToPath(path, length, base) &&
           AppendToPath(path, length, suffix);
}

void CPref::ReadCheckStates() {
    char path[kPathSize];
    FILE* file = CheckStatesPath(kStateFileExtension, path) ? fopen(path, "rb") : nullptr;
    if (file == nullptr) return;
    const long length = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    const bool cut = length > static_cast<long>(kMaxStatesFileBytes);
    const size_t wanted = cut ? kMaxStatesFileBytes : static_cast<size_t>(length > 0 ? length : 0);
    Text bytes;
    if (wanted > 0 && fseek(file, 0, SEEK_SET) == 0 && bytes.TryReserve(wanted)) {
        bytes.resize(wanted);
        size_t size = fread(&bytes[0], 1, wanted, file);
        // A cut line is no line.
        if (cut) {
            while (size > 0 && bytes[size - 1] != '\n') --size;
        }
        checkStates.Read(bytes.c_str(), size, Today());
    }
    fclose(file);
}

void CPref::EndCheck(bool quitting) {
    check.Stop();
    // Only new results are written: a list that could not be read at start-up
    // leaves the side file as it was.
    char path[kPathSize];
    if (checkStatesChanged && catalogue && CheckStatesPath(kStateFileExtension, path)) {
        checkStatesChanged = false;
        Text text;
        for (int slot = 0; slot < catalogue->slotCount; ++slot) {
            if (catalogue->slots[slot]) checkStates.AppendLine(text, catalogue->slots[slot]->address);
        }
        WriteFileReplacing(path, &WriteText, &text);
    }
    if (quitting) return;
    SetDlgItemTextA(window, IDC_CHECK_STREAMS, "Vérifier les flux");
    char status[128];
    FormatCheckSummary(status, sizeof status, checkAlive, checkSilent, checkUnverifiable);
    SetDlgItemTextA(window, IDC_CHECK_STATUS, status);
}

void CPref::StartCheck() {
    if (catalogue == nullptr) return;
    std::vector<CheckStation> stations;
    for (int slot = 0; slot < catalogue->slotCount; ++slot) {
        const StreamRecord* record = catalogue->slots[slot];
        if (record && record->address[0]) stations.push_back(CheckStation{record->address, record->kind == kStreamKindTv});
    }
    checkTotal = static_cast<int>(stations.size());
    checkAlive = checkSilent = checkUnverifiable = 0;
    if (!check.Start(stations, window, kStreamCheckMessage)) {
        SetDlgItemTextA(window, IDC_CHECK_STATUS, "Vérification impossible !");
        return;
    }
    SetDlgItemTextA(window, IDC_CHECK_STREAMS, "Arrêter");
    ShowCheckProgress();
}

void CPref::ShowCheckProgress() {
    char status[128];
    FormatCheckProgress(status, sizeof status, checkAlive + checkSilent + checkUnverifiable, checkTotal, checkSilent);
    SetDlgItemTextA(window, IDC_CHECK_STATUS, status);
}

void CPref::TakeCheckResults() {
    // A notice posted before the check ended or was stopped tells nothing more.
    if (!check.Running()) return;
    bool ended = false;
    CheckResult* results = check.TakeResults(ended);
    const int today = Today();
    bool silentChanged = false;
    while (results) {
        CheckResult* result = results;
        results = result->next;
        const CheckState* before = checkStates.Find(result->address.c_str());
        silentChanged |= (before && before->verdict == CheckVerdict::Silent) != (result->verdict == CheckVerdict::Silent);
        checkStates.Set(result->address.c_str(), result->verdict, result->reason.c_str(), today);
        checkStatesChanged = true;
        int& count = result->verdict == CheckVerdict::Alive    ? checkAlive
                     : result->verdict == CheckVerdict::Silent ? checkSilent
                                                               : checkUnverifiable;
        ++count;
        delete result;
    }
    // The rows show which stations are silent.
    if (silentChanged && catalogue && catalogue->window) ::InvalidateRect(catalogue->window, nullptr, FALSE);
    if (ended) EndCheck(false);
    else ShowCheckProgress();
}

INT_PTR CPref::DialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == kStreamCheckMessage) {
        TakeCheckResults();
        return TRUE;
    }
    return CDialog::DialogProc(hwnd, message, first, second);
}

void CPref::RemoveSilentStations() {
    if (catalogue == nullptr) return;
    std::vector<const StreamRecord*> silent;
    for (int slot = 0; slot < catalogue->slotCount; ++slot) {
        const StreamRecord* record = catalogue->slots[slot];
        if (record && IsSilent(checkStates, *record)) silent.push_back(record);
    }
    if (silent.empty()) {
        ShowPluginMessage(window, "Aucun flux hors ligne à retirer.", kCaption, MB_OK);
        return;
    }
    char path[kPathSize];
    char suffix[sizeof kSetAsideSuffix + sizeof kListExtension];
    FormatText(suffix, sizeof suffix, "%s%s", kSetAsideSuffix, kListExtension);
    if (!CheckStatesPath(suffix, path)) return;
    const char* fileName = strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path;

    // Merged into what the file holds already, each address once.
    std::vector<std::unique_ptr<StreamRecord>> kept;
    const ListReadResult read = ReadListFile(path, &KeepRecord, &kept);
    char text[kPathSize + 128];
    if (read == ListReadResult::NotValid || read == ListReadResult::Incomplete ||
        (read == ListReadResult::CannotOpen && PathExists(path))) {
        FormatText(text, sizeof text, "« %s » ne peut pas être lu : aucun flux retiré.", fileName);
        ShowPluginMessage(window, text, kCaption, MB_ICONWARNING);
        return;
    }
    std::vector<const StreamRecord*> records;
    AddressIndex known(kept.size() + silent.size());
    for (const auto& record : kept) {
        records.push_back(record.get());
        known.Insert(record->address);
    }
    for (const StreamRecord* record : silent) {
        if (!known.Contains(record->address)) records.push_back(record);
        known.Insert(record->address);
    }
    char name[kListNameSize + sizeof kSetAsideSuffix];
    FormatText(name, sizeof name, "%s%s", catalogue->listName, kSetAsideSuffix);
    RecordCursor cursor{records, 0};
    if (!WriteListFile(path, MakeListHeader(static_cast<int32_t>(records.size()), name), &NextRecord, &cursor)) {
        FormatText(text, sizeof text, "« %s » ne peut pas être écrit : aucun flux retiré.", fileName);
        ShowPluginMessage(window, text, kCaption, MB_ICONWARNING);
        return;
    }
    const int removed = catalogue->DeleteStreams(&SilentRecord, &checkStates);
    Show(SW_SHOW);
    FormatText(text, sizeof text, "%d flux retiré%s, gardé%s dans « %s »", removed, removed == 1 ? "" : "s",
               removed == 1 ? "" : "s", fileName);
    ShowPluginMessage(window, text, kCaption, MB_OK);
}
