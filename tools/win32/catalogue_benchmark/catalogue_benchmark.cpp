// Prints the time of the catalogue's heavy operations on a full catalogue in
// a real list box: saving and loading the list file (beside the time to
// merely read its bytes), and searches over every record.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "catalogue/list_view.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <typename F>
double Median(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        f();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

const char* const kWords[] = {"jazz", "rock", "info", "culture", "musique", "sport", "pop", "classique"};

StreamRecord* MakeStation(int i) {
    auto* r = new StreamRecord;
    memset(r, 0, sizeof *r);
    r->kind = static_cast<int16_t>(i % 5 == 0);
    snprintf(r->name, sizeof r->name, "Station %04d %s", i, kWords[i % 8]);
    snprintf(r->keywords, sizeof r->keywords, "%s %s radio france", kWords[(i / 8) % 8], kWords[(i / 3) % 8]);
    snprintf(r->address, sizeof r->address, "http://stream.example.org/%d.mp3", i);
    snprintf(r->slogan, sizeof r->slogan, "Le meilleur de la radio, %d", i);
    for (int b = 0; b < kLogoBytes; ++b) r->logo[b] = static_cast<uint8_t>(b * 7 + i);
    return r;
}

double ReadBytesOnly(const char* path) {
    static std::vector<char> buffer(1 << 16);
    return Median(5, [&] {
        FILE* f = fopen(path, "rb");
        if (!f) return;
        while (fread(buffer.data(), 1, buffer.size(), f) == buffer.size()) {
        }
        fclose(f);
    });
}

}  // namespace

int main() {
    HWND parent = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                0, 0, 400, 560, parent, reinterpret_cast<HMENU>(IDC_STREAM_LIST), nullptr, nullptr);
    static CListView view;
    view.Subclass(list);
    view.SetListName("Benchmark");

    double fill = Median(1, [&] {
        for (int i = 0; i < kMaxSlots; ++i) view.AddStream(MakeStation(i));
    });
    // From here on the list is shown, as in the panel: it pays for its repaints.
    ShowWindow(parent, SW_SHOW);
    UpdateWindow(parent);

    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%sBenchmark.rtv", folder);

    double save = Median(5, [&] { view.SaveListFile(folder, 1); });
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    GetFileAttributesExA(path, GetFileExInfoStandard, &attributes);
    double megabytes = attributes.nFileSizeLow / (1024.0 * 1024.0);

    double floor = ReadBytesOnly(path);
    double load = Median(5, [&] {
        view.ClearCatalogue();
        view.LoadListFile(folder, 1);
    });

    double oneWord = Median(9, [&] { view.ApplyFilter(1, 1, "jazz"); });
    int oneWordRows = view.ViewRowCount();
    double threeWords = Median(9, [&] { view.ApplyFilter(1, 1, "jazz rock culture"); });
    int threeWordRows = view.ViewRowCount();

    printf("catalogue of %d records, list file %.1f MB\n", view.slotCount, megabytes);
    printf("  fill by AddStream        %8.1f ms  (list hidden)\n", fill);
    printf("  save list file           %8.1f ms\n", save);
    printf("  load list file           %8.1f ms  (clear + read + add)\n", load);
    printf("  read file bytes only     %8.1f ms  (the floor)\n", floor);
    printf("  search one word          %8.1f ms  (%d rows)\n", oneWord, oneWordRows);
    printf("  search three words       %8.1f ms  (%d rows)\n", threeWords, threeWordRows);

    view.ClearCatalogue();
    view.Unsubclass();
    DestroyWindow(parent);
    DeleteFileA(path);
    return 0;
}
