// Searching the directory from the dialog: the rows, their order, the
// pages, the sorting, and what the status line says of every failure.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/win32/radio_directory/directory_fixture.h"

namespace {

using Cells = std::vector<std::string>;

TEST_F(DirectoryTest, ASearchListsTheStationsMostClickedFirstFromTheServerThatAnswers) {
    WriteList("Ondaria.rtv", {"Un"});
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(directory, IDC_DIRECTORY_ANSWERING), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(directory, IDC_DIRECTORY_MORE)));

    // The first server of annuaire.txt refuses; the second answers.
    ASSERT_TRUE(Search("", "", "FR"));
    EXPECT_EQ(Status(), "3 radios trouvées.");
    EXPECT_EQ(Column(0), (Cells{"Radio Été", "Jazz Côte", "Déjà Là"}));
    EXPECT_EQ(Column(1), (Cells{"FR", "FR", "FR"}));
    EXPECT_EQ(Column(2), (Cells{"pop, chanson", "jazz, swing", "pop"}));
    EXPECT_EQ(Column(3), (Cells{"MP3", "MP3", "MP3"}));
    EXPECT_EQ(Column(4), (Cells{"128 kbit/s", "128 kbit/s", "128 kbit/s"}));
    EXPECT_EQ(Column(5), (Cells{"950", "700", "500"}));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(directory, IDC_DIRECTORY_MORE)));

    // Unchecked, the stations that the directory found broken come too.
    CheckDlgButton(directory, IDC_DIRECTORY_ANSWERING, BST_UNCHECKED);
    ASSERT_TRUE(Search("", "", "FR"));
    EXPECT_EQ(Column(0), (Cells{"Radio Été", "Jazz Côte", "Déjà Là", "Radio Cassée"}));

    // A name with nothing readable in Windows-1252 shows its address's host.
    ASSERT_TRUE(Search("", "", "CN"));
    EXPECT_EQ(Column(0), (Cells{"127.0.0.1"}));
    // A country's name, a language, a genre.
    ASSERT_TRUE(Search("", "", "China"));
    EXPECT_EQ(Column(0), (Cells{"127.0.0.1"}));
    ASSERT_TRUE(Search("", "", "", "english"));
    EXPECT_EQ(Column(0), (Cells{"Rock Station", "Jazz Ancien"}));
    EXPECT_EQ(Column(4), (Cells{"", "128 kbit/s"}));
    ASSERT_TRUE(Search("été"));
    EXPECT_EQ(Column(0), (Cells{"Radio Été"}));
    EXPECT_EQ(Status(), "1 radio trouvée.");
}

TEST_F(DirectoryTest, FailuresAreToldOnTheStatusLine) {
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    ASSERT_TRUE(Search("erreur-serveur"));
    EXPECT_EQ(Status(), "Annuaire injoignable !");
    ASSERT_TRUE(Search("json-casse"));
    EXPECT_EQ(Status(), "Réponse illisible de l'annuaire !");
    // Longer than the 4 MB the plugin takes: refused, whatever it holds.
    ASSERT_TRUE(Search("enorme"));
    EXPECT_EQ(Status(), "Réponse illisible de l'annuaire !");
    ASSERT_TRUE(Search("personne-ici"));
    EXPECT_EQ(Status(), "Aucune radio trouvée.");
    EXPECT_EQ(SendMessageA(Results(), LVM_GETITEMCOUNT, 0, 0), 0);
    // A redirect is followed: the stand-in sends the search on without its name.
    ASSERT_TRUE(Search("redirection", "", "GB"));
    EXPECT_EQ(Column(0), (Cells{"Rock Station"}));
    // No server answers at all.
    WriteServers({kRefusingServer});
    ASSERT_TRUE(Search(""));
    EXPECT_EQ(Status(), "Annuaire injoignable !");
    // Nothing of this was a modal box: the dialog is still the active one.
    EXPECT_EQ(DialogTitled("Ondaria"), nullptr);
}

TEST_F(DirectoryTest, SuiteShowsTheNextHundredAndHeadersSortTheRowsShown) {
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    ASSERT_TRUE(Search("", "generee"));
    EXPECT_EQ(Status(), "100 radios trouvées.");
    Cells names = Column(0);
    ASSERT_EQ(names.size(), 100u);
    EXPECT_EQ(names.front(), "Station générée 000");
    EXPECT_EQ(names.back(), "Station générée 099");
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(directory, IDC_DIRECTORY_MORE)));
    Press(IDC_DIRECTORY_MORE);
    ASSERT_TRUE(WaitWhileStatusIs(kSearchingStatus, kAnswerWaitMs));
    EXPECT_EQ(Status(), "50 radios trouvées (suite, à partir de la 101e).");
    names = Column(0);
    ASSERT_EQ(names.size(), 50u);
    EXPECT_EQ(names.front(), "Station générée 100");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(directory, IDC_DIRECTORY_MORE)));

    // Sorting by a click on a column's header, a real one.
    CheckDlgButton(directory, IDC_DIRECTORY_ANSWERING, BST_UNCHECKED);
    ASSERT_TRUE(Search("", "", "FR"));
    HWND header = reinterpret_cast<HWND>(SendMessageA(Results(), LVM_GETHEADER, 0, 0));
    auto clickHeader = [&](int column) {
        RECT r;
        SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(header, WM_LBUTTONUP, 0, at);
        Pump(50);
    };
    clickHeader(0);
    EXPECT_EQ(Column(0), (Cells{"Déjà Là", "Jazz Côte", "Radio Cassée", "Radio Été"}));
    clickHeader(0);
    EXPECT_EQ(Column(0), (Cells{"Radio Été", "Radio Cassée", "Jazz Côte", "Déjà Là"}));
    clickHeader(5);
    EXPECT_EQ(Column(5), (Cells{"950", "700", "500", "400"}));
    clickHeader(5);
    EXPECT_EQ(Column(5), (Cells{"400", "500", "700", "950"}));
}

}  // namespace
