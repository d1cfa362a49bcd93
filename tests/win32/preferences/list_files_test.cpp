// "Importer", "Fusionner" and "Sauvegarder" through the system's own open
// and save dialogs, answered by the test, with real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "tests/win32/preferences/preferences_fixture.h"

namespace {

using Names = std::vector<std::string>;
const char kImportCaption[] = "Résultat de l'import";
const char kMergeCaption[] = "Résultat de la fusion";
const char kSaveCaption[] = "Résultat de la sauvegarde";
// The open dialog offers the playlists too; the save dialog writes lists only.
const Names kOpenFileTypes = {"Radio/TV Files", "Playlists (*.m3u;*.m3u8;*.pls;*.xspf)", "All files"};
const Names kSaveFileTypes = {"Radio/TV Files", "All files"};

long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<long>(data.nFileSizeLow);
}

void WriteBytes(const std::string& path, const void* bytes, size_t size) {
    FILE* out = fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr) << path;
    if (size) fwrite(bytes, 1, size, out);
    fclose(out);
}

class ListFilesTest : public PreferencesTest {
protected:
    // Writes a list of the given names and empties the catalogue again.
    std::string WriteList(const char* file, const Names& names) {
        view.ClearCatalogue();
        for (const std::string& name : names) Add(name.c_str());
        std::string path = File(file);
        EXPECT_EQ(view.SaveListFile(path.c_str(), 0), 1);
        view.ClearCatalogue();
        return path;
    }

    std::string WriteNotAList(const char* file) {
        ListFileHeader header = {};
        header.version = 0;
        header.headerSize = 64;
        std::string path = File(file);
        WriteBytes(path, &header, sizeof header);
        return path;
    }

    void ExpectFileDialog(const FileDialogSeen& seen, const Names& fileTypes = kOpenFileTypes) {
        EXPECT_EQ(seen.count, 1);
        EXPECT_EQ(seen.owner, dialog);
        EXPECT_EQ(seen.fileTypes, fileTypes);
        EXPECT_EQ(seen.fileTypeSelected, 0);
        EXPECT_TRUE(seen.sizable);
    }

    // Presses `id` with the file dialog answered by `path` (cancelled when empty).
    void PressWithFile(int id, const std::string& path, MessageBoxRecorder& recorder, FileDialogSeen* seen = nullptr) {
        AnswerFileDialogs(recorder, path, seen);
        Press(id);
    }
};

TEST_F(ListFilesTest, ImportReplacesTheCatalogue) {
    std::string path = WriteList("list.rtv", {"X", "Y"});
    StreamRecord* a = Add("A");
    preferences.Show(SW_SHOW);
    SelectInList(0);
    Press(IDC_EDIT_BUTTON);
    ASSERT_EQ(editor.currentRecord, a);
    // Hidden: a dialog activated while recording would be taken for a message box.
    editor.Show(SW_HIDE);

    MessageBoxRecorder recorder;
    FileDialogSeen seen;
    PressWithFile(IDC_IMPORT_BUTTON, path, recorder, &seen);
    ExpectFileDialog(seen);
    ExpectBoxes(recorder, {{"Import réussi !", kImportCaption}});
    EXPECT_EQ(PanelNames(), (Names{"X", "Y"}));
    EXPECT_EQ(ListNames(), PanelNames());
    EXPECT_EQ(view.slotCount, 2);
    EXPECT_EQ(view.slots[1]->index, 1);
    EXPECT_EQ(view.ViewSelectedRow(), LB_ERR);
    EXPECT_EQ(editor.currentRecord, nullptr);   // the edited record went with the old catalogue
}

TEST_F(ListFilesTest, FailedImportLeavesTheCatalogueAsItWas) {
    StreamRecord* a = Add("A");
    StreamRecord* b = Add("B");
    preferences.Show(SW_SHOW);
    std::string empty = File("empty.rtv");
    WriteBytes(empty, "", 0);

    for (const std::string& path : {File("missing.rtv"), empty}) {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_IMPORT_BUTTON, path, recorder);
        ExpectBoxes(recorder, {{"Echec de l'import !", kImportCaption}});
    }
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_IMPORT_BUTTON, WriteNotAList("bad.rtv"), recorder);
        ASSERT_EQ(recorder.Texts(), (Names{"Le fichier n'est pas valide !", "Echec de l'import !"}));
        EXPECT_EQ(recorder.boxes[0].caption, "Ondaria");
        EXPECT_EQ(recorder.boxes[0].icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(recorder.boxes[0].owner, parent);   // the list box's top-level window
        EXPECT_EQ(recorder.boxes[1].caption, kImportCaption);
        EXPECT_EQ(recorder.boxes[1].owner, dialog);
    }
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_IMPORT_BUTTON, "", recorder);   // cancelled
        EXPECT_TRUE(recorder.boxes.empty());
    }
    EXPECT_EQ(view.slotCount, 2);
    EXPECT_EQ(view.slots[0], a);
    EXPECT_EQ(view.slots[1], b);
    EXPECT_EQ(PanelNames(), (Names{"A", "B"}));
    EXPECT_EQ(ListNames(), PanelNames());
}

// A merge appends the stations the catalogue does not hold, as a playlist's
// merge does: merging the same list twice no longer doubles it.
TEST_F(ListFilesTest, MergeAppendsWhatIsNewAndFailedMergeChangesNothing) {
    std::string path = WriteList("list.rtv", {"A", "B", "C"});
    Add("A");
    Add("B");
    preferences.Show(SW_SHOW);
    {
        MessageBoxRecorder recorder;
        FileDialogSeen seen;
        PressWithFile(IDC_MERGE_BUTTON, path, recorder, &seen);
        ExpectFileDialog(seen);
        ExpectBoxes(recorder, {{"Fusion réussie !\n1 flux ajouté, 2 déjà présents", kMergeCaption}});
        EXPECT_EQ(PanelNames(), (Names{"A", "B", "C"}));
        EXPECT_EQ(ListNames(), PanelNames());
    }
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_MERGE_BUTTON, path, recorder);
        ExpectBoxes(recorder, {{"Fusion réussie !\n0 flux ajoutés, 3 déjà présents", kMergeCaption}});
    }
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_MERGE_BUTTON, File("missing.rtv"), recorder);
        ExpectBoxes(recorder, {{"Echec de la fusion !", kMergeCaption}});
    }
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_MERGE_BUTTON, WriteNotAList("bad.rtv"), recorder);
        EXPECT_EQ(recorder.Texts(), (Names{"Le fichier n'est pas valide !", "Echec de la fusion !"}));
    }
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_MERGE_BUTTON, "", recorder);
        EXPECT_TRUE(recorder.boxes.empty());
    }
    EXPECT_EQ(PanelNames(), (Names{"A", "B", "C"}));
}

TEST_F(ListFilesTest, AFileInAFolderThatDoesNotExistIsRefusedByTheDialog) {
    Add("A");
    preferences.Show(SW_SHOW);
    for (int id : {IDC_IMPORT_BUTTON, IDC_MERGE_BUTTON}) {
        MessageBoxRecorder recorder;
        FileDialogSeen seen;
        AnswerFileDialogs(recorder, Names{File("nowhere\\list.rtv"), ""}, &seen);
        Press(id);
        // The dialog's own complaint, then the cancel: nothing from this dialog.
        ASSERT_EQ(recorder.boxes.size(), 1u) << id;
        EXPECT_NE(recorder.boxes[0].owner, dialog);
        EXPECT_EQ(seen.count, 2);
    }
    EXPECT_EQ(PanelNames(), Names{"A"});
}

TEST_F(ListFilesTest, SaveTellsSuccessCancellationAndFailure) {
    Add("A");
    Add("B");
    preferences.Show(SW_SHOW);
    {
        MessageBoxRecorder recorder;
        FileDialogSeen seen;
        PressWithFile(IDC_SAVE_BUTTON, File("saved"), recorder, &seen);
        ExpectFileDialog(seen, kSaveFileTypes);
        ExpectBoxes(recorder, {{"Sauvegarde réussie !", kSaveCaption}}, 0);
        EXPECT_EQ(FileSize(File("saved.rtv")), 64 + 2 * static_cast<long>(sizeof(StreamRecord)));
    }
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_SAVE_BUTTON, "", recorder);
        ExpectBoxes(recorder, {{"Sauvegarde abandonnée !", kSaveCaption}});
    }
    {
        // A folder where the save's temporary file would go: the file cannot be written.
        ASSERT_TRUE(CreateDirectoryA(File("blocked.rtv.tmp").c_str(), nullptr));
        MessageBoxRecorder recorder;
        PressWithFile(IDC_SAVE_BUTTON, File("blocked.rtv"), recorder);
        ExpectBoxes(recorder, {{"Echec de la sauvegarde !", kSaveCaption}});
        EXPECT_EQ(FileSize(File("blocked.rtv")), -1);
    }
    EXPECT_EQ(PanelNames(), (Names{"A", "B"}));
    EXPECT_TRUE(IsWindowVisible(dialog));
}

}  // namespace

namespace {

// A PLS as a station site serves it, saved under a name with accents.
const char kStationPls[] =
    "[playlist]\r\nNumberOfEntries=5\r\n"
    "File1=http://icecast.radio.example:8000/live.mp3\r\nTitle1=Radio Exemple\r\n"
    "File2=rtsp://old.example/stream\r\nTitle2=Ancienne\r\n"
    "File3=https://backup.radio.example/live.aac\r\n"
    "Version=2\r\n";

TEST_F(ListFilesTest, PlaylistsMergeOnceAndImportOnlyWhenTheyHoldAStation) {
    const std::string pls = File("Radios \xE9t\xE9.pls");   // "Radios été.pls"
    WriteBytes(pls, kStationPls, sizeof kStationPls - 1);
    Add("A");
    preferences.Show(SW_SHOW);
    {
        MessageBoxRecorder recorder;
        PressWithFile(IDC_MERGE_BUTTON, pls, recorder);
        ExpectBoxes(recorder, {{"Fusion réussie !\n2 flux ajoutés, 1 ignoré", kMergeCaption}});
        EXPECT_EQ(PanelNames(), (Names{"A", "Radio Exemple", "backup.radio.example"}));
        EXPECT_EQ(ListNames(), PanelNames());
        EXPECT_STREQ(view.slots[1]->address, "http://icecast.radio.example:8000/live.mp3");
        EXPECT_EQ(view.slots[1]->kind, kStreamKindRadio);
        EXPECT_EQ(view.slots[1]->transparentColour, 0xFF00FF);
    }
    {
        // The same playlist again adds nothing.
        MessageBoxRecorder recorder;
        PressWithFile(IDC_MERGE_BUTTON, pls, recorder);
        ExpectBoxes(recorder, {{"Fusion réussie !\n0 flux ajoutés, 2 déjà présents, 1 ignoré", kMergeCaption}});
        EXPECT_EQ(view.slotCount, 3);
    }
    {
        // A playlist with no station the catalogue takes replaces nothing.
        const std::string none = File("none.m3u");
        const char text[] = "#EXTM3U\n#EXTINF:0,Local\nC:\\music\\a.mp3\nrtsp://x/\n";
        WriteBytes(none, text, sizeof text - 1);
        MessageBoxRecorder recorder;
        PressWithFile(IDC_IMPORT_BUTTON, none, recorder);
        ExpectBoxes(recorder, {{"Echec de l'import !\nAucun flux lisible dans ce fichier.", kImportCaption}});
        EXPECT_EQ(view.slotCount, 3);
    }
    {
        // An XSPF replaces the catalogue, its web site kept.
        const std::string xspf = File("export.xspf");
        const char text[] =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">"
            "<trackList><track><location>https://jazz.example/live</location><title>Jazz \xC3\xA9t\xC3\xA9</title>"
            "<info>https://jazz.example/</info></track></trackList></playlist>\n";
        WriteBytes(xspf, text, sizeof text - 1);
        MessageBoxRecorder recorder;
        PressWithFile(IDC_IMPORT_BUTTON, xspf, recorder);
        ExpectBoxes(recorder, {{"Import réussi !\n1 flux ajouté", kImportCaption}});
        EXPECT_EQ(PanelNames(), (Names{"Jazz \xE9t\xE9"}));
        EXPECT_STREQ(view.slots[0]->website, "https://jazz.example/");
    }
}

}  // namespace
