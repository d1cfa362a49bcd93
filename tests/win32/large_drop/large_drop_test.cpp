// The largest playlist of each format that the plugin reads, dropped on the
// real panel. In a process of its own: under emulation, tens of megabytes
// come and go in a 32-bit address space that the next tests would share.
#include <string>
#include <vector>

#include "catalogue/portable/playlist_import.h"
#include "resources/resource_ids.h"
#include "tests/support/large_playlists.h"
#include "tests/support/message_box_recorder.h"
#include "tests/win32/plugin/drop_files.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

using drops::MakeDrop;
using drops::Names;
using drops::WriteText;

// The largest playlist of each format the plugin reads, dropped together on
// a list with one station: the catalogue fills to its limit, every entry is
// counted, the host stays responsive enough to finish, and one message says it all.
TEST_F(PluginHostTest, TheLargestPlaylistsOfEveryFormatFillTheListAndAreToldOnce) {
    WriteList("Ondaria.rtv", {"Un"});
    Start();
    std::vector<std::string> paths;
    size_t total = 0;
    for (ListFormat format : {ListFormat::M3u, ListFormat::Xspf, ListFormat::Pls}) {
        size_t entries = 0;
        const std::string text = large_playlists::Largest(format, entries);
        total += entries;
        paths.push_back(folder->Path() + "\\large" + std::to_string(paths.size()) + ".txt");
        WriteText(paths.back(), text);
    }
    MessageBoxRecorder boxes;
    SendMessageA(Panel(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    // The first file fills the room; the other two find those addresses held.
    const size_t room = kMaxSlots - 1, present = 2 * room;
    EXPECT_EQ(boxes.boxes[0].text, "Fusion réussie !\n" + std::to_string(room) + " flux ajoutés, " +
                                       std::to_string(present) + " déjà présents, " +
                                       std::to_string(total - room - present) + " laissés de côté\nLa liste est remplie !");
    const std::vector<std::string> names = Names(Control(IDC_STREAM_LIST));
    ASSERT_EQ(names.size(), static_cast<size_t>(kMaxSlots));
    EXPECT_EQ(names[1], "Station 0");
    EXPECT_EQ(names.back(), "Station " + std::to_string(room - 1));
    Stop();
}

}  // namespace
