// The current list through start-up and quit when things go wrong: a file
// start-up cannot take whole is kept before anything is written over it, a
// failed save at quit is told, a read-only list is never replaced, and a
// list name with blanks around it still finds its file at the next start.
#include <cstring>

#include "catalogue/portable/list_file_format.h"
#include "resources/resource_ids.h"
#include "tests/support/message_box_recorder.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

const char kKeptNotice[] = "Le fichier d'origine de la liste est conservé sous le nom :\n";

class ListSafetyTest : public PluginHostTest {
protected:
    std::string CurrentList() const { return PluginFolder() + "Ondaria.rtv"; }

    void WriteRaw(const std::string& path, const std::string& bytes) {
        CreateDirectoryA(PluginFolder().c_str(), nullptr);
        FILE* f = fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }

    // Starts and quits with every box answered; the texts shown, in order.
    std::vector<std::string> StartAndQuit() {
        host.reset();
        MessageBoxRecorder boxes;
        Start();
        Stop();
        return boxes.Texts();
    }
};

TEST_F(ListSafetyTest, AFileStartUpCannotReadIsKeptBeforeQuitWritesTheList) {
    // A header of version 0: not a list file for this plugin, but somebody's stations.
    std::string bytes(64, '\0');
    bytes[4] = 64;
    bytes += std::string(9264, 'x');
    WriteRaw(CurrentList(), bytes);

    std::vector<std::string> texts = StartAndQuit();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Le fichier n'est pas valide !");
    EXPECT_EQ(texts[1], kKeptNotice + CurrentList() + ".illisible");
    EXPECT_EQ(ReadWholeFile(CurrentList() + ".illisible"), bytes);

    // A second bad start never writes over the first copy.
    WriteRaw(CurrentList(), bytes + "more");
    texts = StartAndQuit();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], kKeptNotice + CurrentList() + ".illisible.2");
    EXPECT_EQ(ReadWholeFile(CurrentList() + ".illisible"), bytes);
    EXPECT_EQ(ReadWholeFile(CurrentList() + ".illisible.2"), bytes + "more");
}

TEST_F(ListSafetyTest, AListLongerThanTheCatalogueIsKeptWholeAndToldOnce) {
    std::vector<std::string> names;
    for (int i = 0; i < kMaxSlots + 3; ++i) names.push_back("s" + std::to_string(i));
    WriteList("Ondaria.rtv", names);
    const std::string original = ReadWholeFile(CurrentList());

    std::vector<std::string> texts = StartAndQuit();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "La liste est remplie !\n3 flux laissés de côté.");
    EXPECT_EQ(texts[1], kKeptNotice + CurrentList() + ".complete");
    EXPECT_EQ(ReadWholeFile(CurrentList() + ".complete"), original);
    // The current list now holds what the catalogue held.
    EXPECT_EQ(ReadWholeFile(CurrentList()).size(), 64u + static_cast<size_t>(kMaxSlots) * sizeof(StreamRecord));
}

TEST_F(ListSafetyTest, AListThatCannotBeOpenedIsNeverReplaced) {
    WriteList("Ondaria.rtv", {"Un", "Deux"});
    const std::string original = ReadWholeFile(CurrentList());
    // Held open with no sharing: start-up can neither read nor copy it.
    HANDLE held = CreateFileA(CurrentList().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<std::string> texts = StartAndQuit();
    CloseHandle(held);

    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Le fichier de la liste ne peut être ni lu ni copié : il ne sera pas remplacé !");
    EXPECT_EQ(texts[1], "Sauvegarde de la liste impossible !");
    EXPECT_EQ(ReadWholeFile(CurrentList()), original);
}

TEST_F(ListSafetyTest, AFailedSaveAtQuitIsToldAndAReadOnlyListIsNotReplaced) {
    WriteList("Ondaria.rtv", {"Un", "Deux"});
    const std::string original = ReadWholeFile(CurrentList());
    ASSERT_TRUE(SetFileAttributesA(CurrentList().c_str(), FILE_ATTRIBUTE_READONLY));

    MessageBoxRecorder boxes;
    Start();
    ASSERT_TRUE(boxes.boxes.empty());
    Stop();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Sauvegarde de la liste impossible !");
    EXPECT_EQ(boxes.boxes[0].caption, "Ondaria");
    EXPECT_EQ(boxes.boxes[0].icon, static_cast<UINT>(MB_ICONWARNING));
    SetFileAttributesA(CurrentList().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadWholeFile(CurrentList()), original);
}

TEST_F(ListSafetyTest, AListNameWithBlanksAroundItFindsItsFileAgain) {
    WriteSettings("[main]\r\nGEN_ONDARIA_LISTNAME =  \t Mes radios \t\r\n");
    WriteList("Mes radios.rtv", {"Un", "Deux"});
    Start();
    EXPECT_EQ(SendMessageA(Control(IDC_STREAM_LIST), LB_GETCOUNT, 0, 0), 2);
    HWND prefs = DialogTitled("Préférences");
    ASSERT_NE(prefs, nullptr);
    char name[64] = {0};
    GetDlgItemTextA(prefs, IDC_LIST_NAME, name, sizeof name);
    EXPECT_STREQ(name, "Mes radios");
    Stop();
    EXPECT_NE(SettingsFileBytes().find("GEN_ONDARIA_LISTNAME = Mes radios\r\n"), std::string::npos);

    // A name of blanks only becomes the default name.
    host.reset();
    WriteSettings("[main]\r\nGEN_ONDARIA_LISTNAME =    \r\n");
    Start();
    Stop();
    EXPECT_NE(SettingsFileBytes().find("GEN_ONDARIA_LISTNAME = Ondaria\r\n"), std::string::npos);
}

}  // namespace
