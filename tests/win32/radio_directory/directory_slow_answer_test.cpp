// A directory that takes longer to answer than the plugin waits: the host's
// interface never waits with it, a new search does not either, and quitting
// in the middle leaves the host unharmed.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/win32/radio_directory/directory_fixture.h"

namespace {

using Cells = std::vector<std::string>;

// The stand-in answers "lent" after 20 s; the plugin gives up after 15.
const char kSlowName[] = "lent";
// Seconds of emulation are not seconds: generous, but far below the stall.
constexpr DWORD kPromptMs = 5000;

// Presses "Chercher" for the slow answer; how long the press took.
DWORD StartSlowSearch(HWND directory) {
    SetDlgItemTextA(directory, IDC_DIRECTORY_NAME, kSlowName);
    const DWORD start = GetTickCount();
    SendMessageA(GetDlgItem(directory, IDC_DIRECTORY_SEARCH), BM_CLICK, 0, 0);
    return GetTickCount() - start;
}

TEST_F(DirectoryTest, ASlowAnswerNeitherHoldsTheHostNorOutlivesItsTimeOut) {
    WriteList("Ondaria.rtv", {"Un", "Deux"});
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    EXPECT_LT(StartSlowSearch(directory), kPromptMs);
    EXPECT_EQ(Status(), kSearchingStatus);
    // Meanwhile the panel answers at once: its search box filters its list.
    HWND search = GetDlgItem(Panel(), IDC_SEARCH_EDIT);
    const DWORD start = GetTickCount();
    SetWindowTextA(search, "Deux");
    Pump(100);
    EXPECT_EQ(SendMessageA(GetDlgItem(Panel(), IDC_STREAM_LIST), LB_GETCOUNT, 0, 0), 1);
    EXPECT_LT(GetTickCount() - start, kPromptMs);
    EXPECT_EQ(Status(), kSearchingStatus);
    // Given up on after the plugin's time-out, before the answer would come.
    ASSERT_TRUE(WaitWhileStatusIs(kSearchingStatus, kAnswerWaitMs));
    EXPECT_EQ(Status(), "Annuaire injoignable !");
    EXPECT_EQ(SendMessageA(Results(), LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(DirectoryTest, ANewSearchIsAnsweredWhileTheOneItReplacedIsStillSlow) {
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    StartSlowSearch(directory);
    Pump(500);
    ASSERT_TRUE(Search("jazz"));
    EXPECT_EQ(Column(0), (Cells{"Jazz Côte", "Jazz Ancien"}));
    const std::string answered = Status();
    EXPECT_EQ(answered, "2 radios trouvées.");
    // The replaced search ends later, and is not heard of.
    Pump(20000);
    EXPECT_EQ(Status(), answered);
    EXPECT_EQ(Column(0), (Cells{"Jazz Côte", "Jazz Ancien"}));
}

TEST_F(DirectoryTest, QuittingDuringASlowAnswerReturnsAtOnceAndLeavesTheHostUnharmed) {
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    StartSlowSearch(directory);
    Pump(500);
    const DWORD start = GetTickCount();
    host->QuitAndUnloadPlugins();
    EXPECT_LT(GetTickCount() - start, kPromptMs);
    // The worker still holds the library until its request ends; then it
    // leaves it, and nothing of the plugin runs any more.
    EXPECT_NE(GetModuleHandleA("gen_ondaria.dll"), nullptr);
    EXPECT_TRUE(PumpUntil([] { return GetModuleHandleA("gen_ondaria.dll") == nullptr; }, 2 * kAnswerWaitMs));
    // The host goes on: its windows answer, its menu works.
    EXPECT_TRUE(IsWindow(host->MainWindow()));
    EXPECT_TRUE(Pump(500));
    EXPECT_EQ(SendMessageA(host->MainWindow(), WM_NULL, 0, 0), 0);
}

}  // namespace
