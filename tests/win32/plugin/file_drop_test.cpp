// Files dropped on the panel's list through a real drop handle, as the shell
// makes it: lists and playlists merged one after another, anything else refused.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "tests/support/large_playlists.h"
#include "tests/support/message_box_recorder.h"
#include "tests/win32/plugin/drop_files.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

using drops::MakeDrop;
using drops::Names;
using drops::WriteText;

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

    // Dropped again: nothing new, from the playlist or from the list.
    boxes.boxes.clear();
    SendMessageA(Panel(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({m3u, PluginFolder() + "other.rtv"})), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Fusion réussie !\n0 flux ajoutés, 3 déjà présents");
    EXPECT_EQ(Names(Control(IDC_STREAM_LIST)).size(), 3u);
    Stop();
}

// However many files a drop holds and whatever each comes to, the user is
// told once: lists that are not valid are named in the one message.
TEST_F(PluginHostTest, ADropOfSeveralBadFilesTellsOnce) {
    WriteList("Ondaria.rtv", {"Un"});
    Start();
    const std::string bad1 = folder->Path() + "\\bad1.rtv", bad2 = folder->Path() + "\\bad2.rtv";
    std::string header(64, '\0');
    header[0] = 1;   // version 1, but a header size of 0
    WriteText(bad1, header + "more");
    WriteText(bad2, header);
    WriteList("good.rtv", {"Deux"});
    // Notepad's "Unicode": UTF-16 with its byte-order mark.
    const std::string unicode = folder->Path() + "\\unicode.m3u";
    WriteText(unicode, large_playlists::Utf16("#EXTM3U\r\n#EXTINF:-1,Radio \xE9t\xE9\r\nhttp://ete.example/\r\n", false));

    MessageBoxRecorder boxes;
    SendMessageA(Panel(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({bad1, PluginFolder() + "good.rtv", bad2, unicode})), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u) << boxes.boxes[0].text;
    EXPECT_EQ(boxes.boxes[0].text,
              "Fusion réussie !\n2 flux ajoutés\nFichier refusé : bad1.rtv\nFichier refusé : bad2.rtv");
    EXPECT_EQ(Names(Control(IDC_STREAM_LIST)), (std::vector<std::string>{"Un", "Deux", "Radio \xE9t\xE9"}));
    Stop();
}


}  // namespace
