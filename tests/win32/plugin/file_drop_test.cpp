// Files dropped on the panel's list through a real drop handle, as the shell
// makes it: lists and playlists merged one after another, anything else refused.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "tests/support/message_box_recorder.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

// A drop handle holding `paths`, as the shell hands it over (DROPFILES, then
// the names, each ended by a NUL, and one more NUL).
HDROP MakeDrop(const std::vector<std::string>& paths) {
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

void WriteText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

std::vector<std::string> Names(HWND list) {
    std::vector<std::string> names;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        auto* record = reinterpret_cast<const StreamRecord*>(SendMessageA(list, LB_GETITEMDATA, i, 0));
        names.push_back(record ? record->name : "");
    }
    return names;
}

TEST_F(PluginHostTest, DroppedListsAndPlaylistsAreMergedOthersRefused) {
    WriteList("Ondaria.rtv", {"Un"});
    Start();
    const std::string m3u = folder->Path() + "\\radios.m3u8";
    WriteText(m3u, "#EXTM3U\n#EXTINF:-1,Deux\nhttp://deux.example/live\n#EXTINF:-1,Un again\nhttp://example.org/Un\n");
    WriteList("other.rtv", {"Trois"});
    const std::string song = folder->Path() + "\\song.mp3";
    WriteText(song, "ID3\x03 not a list");

    MessageBoxRecorder boxes;
    SendMessageA(Control(IDC_STREAM_LIST), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({m3u, PluginFolder() + "other.rtv", song})), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Fusion réussie !\n2 flux ajoutés, 1 déjà présent\nFichier refusé : song.mp3");
    EXPECT_EQ(boxes.boxes[0].caption, "Résultat de la fusion");
    EXPECT_EQ(Names(Control(IDC_STREAM_LIST)), (std::vector<std::string>{"Un", "Deux", "Trois"}));

    // Dropped again: nothing new from the playlist; a list is merged as lists always are.
    boxes.boxes.clear();
    SendMessageA(Panel(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({m3u})), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Fusion réussie !\n0 flux ajoutés, 2 déjà présents");
    Stop();
}

}  // namespace
