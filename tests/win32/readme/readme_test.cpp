// The readme window from template 107: "readme.txt" read into edit 1012 with
// each line of the file on a line of its own, and the window's buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/readme_window.h"
#include "resources/resource_ids.h"
#include "tests/support/test_folder.h"

namespace {

constexpr int kEdit = 1012;
constexpr int kOk = IDC_README_OK;

// Every EM_REPLACESEL that reaches the edit, as sent.
std::vector<std::string> g_insertions;
WNDPROC g_editProc = nullptr;

LRESULT CALLBACK RecordingEditProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == EM_REPLACESEL) g_insertions.push_back(reinterpret_cast<const char*>(second));
    return CallWindowProcA(g_editProc, hwnd, message, first, second);
}

void WriteBinary(const std::string& path, const std::string& bytes) {
    FILE* out = fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
}

class ReadmeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ownerWindow = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(ownerWindow, nullptr);
        owner.window = ownerWindow;
        owner.instance = GetModuleHandleA(nullptr);
        ASSERT_EQ(info.Create(IDD_README, &owner, &CDialog::ModelessDialogProc), 1);
        edit = GetDlgItem(info.window, kEdit);
        ASSERT_NE(edit, nullptr);
        g_insertions.clear();
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongA(edit, GWL_WNDPROC, reinterpret_cast<LONG>(&RecordingEditProc)));
        folderText = folder.Path() + "\\";
    }

    void TearDown() override {
        if (::IsWindow(info.window)) ::DestroyWindow(info.window);
        ::DestroyWindow(ownerWindow);
    }

    std::string Text() const {
        int n = GetWindowTextLengthA(edit);
        std::string text(n + 1, '\0');
        GetWindowTextA(edit, &text[0], n + 1);
        text.resize(n);
        return text;
    }

    int LineCount() const { return static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0)); }

    std::string Line(int index) const {
        char buffer[512] = {0};
        *reinterpret_cast<WORD*>(buffer) = sizeof buffer - 1;
        LRESULT n = SendMessageA(edit, EM_GETLINE, index, reinterpret_cast<LPARAM>(buffer));
        return std::string(buffer, n);
    }

    void Command(int id) {
        SendMessageA(info.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(info.window, id)));
    }

    HWND ownerWindow = nullptr;
    HWND edit = nullptr;
    CWnd owner;
    CInfo info;
    TestFolder folder;
    std::string folderText;
};

TEST_F(ReadmeTest, EachLineOfTheFileShowsOnALineOfItsOwn) {
    // CR LF and bare LF line ends alike; Windows-1252 bytes shown as they are.
    WriteBinary(folderText + "readme.txt", "Premi\xE8re ligne\r\ndeuxi\xE8me\ntroisi\xE8me\r\n");
    ASSERT_EQ(info.LoadReadme(folderText.c_str(), "readme.txt"), 1);

    EXPECT_EQ(Text(), "Premi\xE8re ligne\r\ndeuxi\xE8me\r\ntroisi\xE8me\r\n");
    ASSERT_EQ(LineCount(), 4);   // the last line end opens an empty fourth line
    EXPECT_EQ(Line(0), "Premi\xE8re ligne");
    EXPECT_EQ(Line(1), "deuxi\xE8me");
    EXPECT_EQ(Line(2), "troisi\xE8me");
    EXPECT_EQ(Line(3), "");
    EXPECT_EQ(g_insertions.size(), 3u);
}

TEST_F(ReadmeTest, ALastLineWithoutLineEndGetsNone) {
    WriteBinary(folderText + "readme.txt", "un\ndeux");
    ASSERT_EQ(info.LoadReadme(folderText.c_str(), "readme.txt"), 1);
    EXPECT_EQ(Text(), "un\r\ndeux");
    EXPECT_EQ(LineCount(), 2);
}

TEST_F(ReadmeTest, ALongLineArrivesInTwoPiecesAndStaysOneLine) {
    std::string longLine;
    for (int i = 0; i < 2000; ++i) longLine += static_cast<char>('a' + i % 26);
    WriteBinary(folderText + "readme.txt", longLine + "\nfin\n");
    ASSERT_EQ(info.LoadReadme(folderText.c_str(), "readme.txt"), 1);

    ASSERT_EQ(g_insertions.size(), 3u);
    EXPECT_EQ(g_insertions[0], longLine.substr(0, 1023));
    EXPECT_EQ(g_insertions[1], longLine.substr(1023) + "\r\n");
    EXPECT_EQ(g_insertions[2], "fin\r\n");
    // No line break inside the long line: the pieces join up.
    EXPECT_EQ(Text(), longLine + "\r\nfin\r\n");
}

TEST_F(ReadmeTest, MissingOrEmptyFileLeavesTheWindowEmpty) {
    EXPECT_EQ(info.LoadReadme(folderText.c_str(), "readme.txt"), 0);
    EXPECT_EQ(info.LoadReadme(nullptr, "readme.txt"), 0);
    EXPECT_EQ(info.LoadReadme(folderText.c_str(), nullptr), 0);
    EXPECT_EQ(Text(), "");

    WriteBinary(folderText + "readme.txt", "");
    EXPECT_EQ(info.LoadReadme(folderText.c_str(), "readme.txt"), 1);
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(g_insertions.empty());
}

TEST_F(ReadmeTest, PathsFitTheirBufferOrFail) {
    // Folder and name of 259 characters together load; one more fails.
    std::string deep = folderText;
    while (deep.size() < 200) {
        deep += std::string(std::min<size_t>(60, 200 - deep.size()), 'd') + "\\";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    }
    std::string name(259 - deep.size(), 'n');
    WriteBinary(deep + name, "profond\n");
    EXPECT_EQ(info.LoadReadme(deep.c_str(), name.c_str()), 1);
    EXPECT_EQ(Text(), "profond\r\n");

    EXPECT_EQ(info.LoadReadme(deep.c_str(), (name + "n").c_str()), 0);
    std::string huge(5000, 'x');
    EXPECT_EQ(info.LoadReadme(huge.c_str(), huge.c_str()), 0);
    EXPECT_EQ(Text(), "profond\r\n");
}

TEST_F(ReadmeTest, OkAndCloseBoxHideEnterAndEscapeLeaveItOpen) {
    WriteBinary(folderText + "readme.txt", "texte\n");
    ASSERT_EQ(info.LoadReadme(folderText.c_str(), "readme.txt"), 1);
    // Read once: later changes of the file are not seen.
    WriteBinary(folderText + "readme.txt", "autre\n");

    info.Show(SW_SHOW);
    ASSERT_TRUE(IsWindowVisible(info.window));
    Command(IDOK);
    Command(IDCANCEL);
    EXPECT_TRUE(IsWindowVisible(info.window));
    // A real Escape key through the dialog manager.
    SetFocus(edit);
    MSG escape = {edit, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    IsDialogMessageA(info.window, &escape);
    EXPECT_TRUE(IsWindowVisible(info.window));
    EXPECT_EQ(info.OnCommand(BN_CLICKED, 4711, nullptr), 0);

    Command(kOk);
    EXPECT_FALSE(IsWindowVisible(info.window));
    EXPECT_TRUE(::IsWindow(info.window));

    info.Show(SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(info.window));
    EXPECT_EQ(Text(), "texte\r\n");
    SendMessageA(info.window, WM_SYSCOMMAND, SC_CLOSE, 0);   // the caption's close box
    EXPECT_FALSE(IsWindowVisible(info.window));
    EXPECT_TRUE(::IsWindow(info.window));
}

TEST_F(ReadmeTest, ItOpensAtTheTopWithNothingSelectedEveryTime) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "ligne " + std::to_string(i) + "\n";
    WriteBinary(folderText + "readme.txt", text);
    ASSERT_EQ(info.LoadReadme(folderText.c_str(), "readme.txt"), 1);
    for (int round = 0; round < 2; ++round) {
        info.Show(SW_SHOW);
        DWORD start = 1, end = 1;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << round;
        EXPECT_EQ(end, 0u) << round;
        EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << round;
        // Scrolled down and selected by the user, then closed: the next showing starts over.
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
        Command(kOk);
    }
}

TEST_F(ReadmeTest, ShippedReadmeIsWindows1252French) {
    // The build writes it next to the test executables.
    const std::string shipped = ExecutableFolder() + "readme.txt";
    const std::string bytes = ReadWholeFile(shipped);
    ASSERT_FALSE(bytes.empty()) << shipped;
    EXPECT_EQ(bytes.find("\xC3\xA9"), std::string::npos) << "UTF-8 left in the shipped readme";

    ASSERT_EQ(info.LoadReadme(ExecutableFolder().c_str(), "readme.txt"), 1);
    const std::string text = Text();
    for (const char* expected : {"Préférences", "Importer", "Fusionner", "Sauvegarder", ".rtv",
                                 "double clic", "gen_ondaria.ini", "readme.txt"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    // Every line end reached the edit as CR LF.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << i;
        }
    }
    EXPECT_GT(LineCount(), 20);
}

}  // namespace
