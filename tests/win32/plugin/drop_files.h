// Files handed to the panel as the shell hands them over, and the list's
// rows read back: shared by the drop tests of the plugin suite and of the
// suite that drops the largest playlists in a process of its own.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/portable/stream_record.h"

namespace drops {

// A drop handle holding `paths`, as the shell hands it over (DROPFILES, then
// the names, each ended by a NUL, and one more NUL).
inline HDROP MakeDrop(const std::vector<std::string>& paths) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths) size += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& p : paths) {
        memcpy(names, p.c_str(), p.size() + 1);
        names += p.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

inline void WriteText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

inline std::vector<std::string> Names(HWND list) {
    std::vector<std::string> names;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        auto* record = reinterpret_cast<const StreamRecord*>(SendMessageA(list, LB_GETITEMDATA, i, 0));
        names.push_back(record ? record->name : "");
    }
    return names;
}

}  // namespace drops
