// Files dropped on the panel or its list: ".rtv" lists and playlists merged
// into the catalogue one after another, anything else refused, and one
// message for the whole drop.
#include "host/plugin.h"

#include <shellapi.h>

#include <cstring>

#include "ui/framework/modal_loops.h"

namespace {

// DragQueryFileA's index that asks for the number of files.
constexpr UINT kAllDroppedFiles = 0xFFFFFFFF;

}  // namespace

int CPlugin::OnDropFiles(WPARAM drop, LPARAM) {
    HDROP files = reinterpret_cast<HDROP>(drop);
    const UINT count = DragQueryFileA(files, kAllDroppedFiles, nullptr, 0);
    PlaylistTally tally;
    Text refused;
    bool merged = false;
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {0};
        if (!DragQueryFileA(files, i, path, sizeof path)) continue;
        const ListFormat format = CListView::FileFormat(path);
        bool taken = false;
        bool outOfMemory = false;
        // Each file is read quietly: the drop says everything in one message.
        if (format == ListFormat::Rtv) {
            taken = view.MergeListFile(path, tally, true) != 0;
        } else if (IsPlaylistFormat(format)) {
            tally.outOfMemory = false;
            taken = view.MergePlaylist(path, tally, true) != 0;
            outOfMemory = tally.outOfMemory;
        }
        if (taken) {
            merged = true;
        } else {
            const char* name = strrchr(path, '\\');
            refused += "\nFichier refusé : ";
            refused += name ? name + 1 : path;
            if (outOfMemory) {
                refused += " (";
                refused += kPlaylistOutOfMemory;
                refused += ")";
            }
        }
    }
    DragFinish(files);
    if (preferences.IsWindowVisible()) preferences.Show(SW_SHOW);   // its list mirrors the catalogue
    Text text = merged ? "Fusion réussie !\n" + DescribeTally(tally) : Text("Echec de la fusion !");
    if (tally.leftOut > 0) {
        text += "\n";
        text += kCatalogueFull;
    }
    text += refused;
    ShowPluginMessage(window, text.c_str(), "Résultat de la fusion", MB_ICONWARNING);
    return 1;
}
