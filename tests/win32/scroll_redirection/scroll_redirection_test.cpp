// The eight scroll-bar functions redirected in this process: what gets
// patched, the list box's own calls arriving, windows without skinned bars
// seeing no difference, and installing and removing while another thread
// uses them.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "scrollbars/function_hook.h"
#include "scrollbars/portable/instruction_length.h"
#include "scrollbars/scroll_redirection.h"
#include "scrollbars/skinned_scroll_bars.h"

namespace {

constexpr int kSaved = 16;

const uint8_t* Resolved(int call) {
    FARPROC exported = GetProcAddress(GetModuleHandleA("user32.dll"), kScrollRedirections[call].name);
    return static_cast<const uint8_t*>(ResolveFunctionAddress(reinterpret_cast<const void*>(exported)));
}

uint32_t JumpTarget(const uint8_t* at) {
    X86Instruction d;
    if (!DecodeInstruction(at, 5, &d) || d.opcode != 0xE9) return 0;
    return RelativeBranchTarget(d, at, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(at)));
}

class ScrollRedirectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int k = 0; k < kScrollCallCount; ++k) {
            std::memcpy(functionBytes[k], Resolved(k), kSaved);
            std::memcpy(&trampolines[k], kScrollRedirections[k].trampoline, sizeof(Trampoline));
        }
    }
    void TearDown() override {
        RemoveScrollRedirection();
        for (int k = 0; k < kScrollCallCount; ++k)
            EXPECT_EQ(std::memcmp(functionBytes[k], Resolved(k), kSaved), 0) << kScrollRedirections[k].name;
    }

    uint8_t functionBytes[kScrollCallCount][kSaved];
    Trampoline trampolines[kScrollCallCount];
};

HWND ScrollingWindow() {
    return CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, 0, 0, 300, 200, nullptr,
                         nullptr, nullptr, nullptr);
}

// The eight calls on a new ordinary window, checked against what they did.
void ExerciseAllEight() {
    HWND window = ScrollingWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SetScrollRange(window, SB_VERT, 0, 50, FALSE));
    int low = -1, high = -1;
    EXPECT_TRUE(GetScrollRange(window, SB_VERT, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 50);
    EXPECT_EQ(SetScrollPos(window, SB_VERT, 20, FALSE), 0);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 20);
    SCROLLINFO info = {sizeof info, SIF_PAGE | SIF_POS, 0, 0, 10, 30, 0};
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, FALSE), 30);
    SCROLLINFO back = {sizeof back, SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(window, SB_VERT, &back));
    EXPECT_EQ(back.nMax, 50);
    EXPECT_EQ(back.nPage, 10u);
    EXPECT_EQ(back.nPos, 30);
    EXPECT_TRUE(SetScrollRange(window, SB_HORZ, 0, 10, FALSE));
    EXPECT_TRUE(EnableScrollBar(window, SB_HORZ, ESB_DISABLE_BOTH));
    EXPECT_TRUE(ShowScrollBar(window, SB_VERT, FALSE));
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_TRUE(ShowScrollBar(window, SB_VERT, TRUE));
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL, 0);
    DestroyWindow(window);
}

// The eight calls on a window with skinned bars: redirected, each one is
// answered from or into the skinned record; otherwise the record never sees
// them and the system's own bars answer.
void ExpectSkinnedBarsAnswer(bool redirected) {
    HWND window = ScrollingWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(AttachSkinnedScrollBars(window), 1);
    SkinnedScrollBar& bar = FindSkinnedScrollWindow(window)->vertical;

    SetScrollRange(window, SB_VERT, 0, 77, FALSE);
    EXPECT_EQ(bar.info.nMax == 77, redirected) << "SetScrollRange";
    bar.info.nMin = 3;
    bar.info.nMax = 99;
    int low = -1, high = -1;
    GetScrollRange(window, SB_VERT, &low, &high);
    EXPECT_EQ(high == 99, redirected) << "GetScrollRange";

    bar.info.nMin = 0;
    bar.info.nMax = 100;
    bar.info.nPage = 0;
    bar.info.nPos = 0;
    SetScrollPos(window, SB_VERT, 42, FALSE);
    EXPECT_EQ(bar.info.nPos == 42, redirected) << "SetScrollPos";
    bar.info.nPos = 55;
    EXPECT_EQ(GetScrollPos(window, SB_VERT) == 55, redirected) << "GetScrollPos";

    SCROLLINFO in = {sizeof in, SIF_POS, 0, 0, 0, 61, 0};
    SetScrollInfo(window, SB_VERT, &in, FALSE);
    EXPECT_EQ(bar.info.nPos == 61, redirected) << "SetScrollInfo";
    bar.info.nPos = 66;
    SCROLLINFO out = {sizeof out, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(window, SB_VERT, &out);
    EXPECT_EQ(out.nPos == 66, redirected) << "GetScrollInfo";

    const uint32_t arrows = bar.flags & (kBarUpArrowDisabled | kBarDownArrowDisabled);
    EnableScrollBar(window, SB_VERT, arrows ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    EXPECT_EQ((bar.flags & (kBarUpArrowDisabled | kBarDownArrowDisabled)) != arrows, redirected) << "EnableScrollBar";
    const uint32_t wanted = bar.flags & kBarWanted;
    ShowScrollBar(window, SB_VERT, wanted ? FALSE : TRUE);
    EXPECT_EQ((bar.flags & kBarWanted) != wanted, redirected) << "ShowScrollBar";

    DetachSkinnedScrollBars(window);
    DestroyWindow(window);
}

TEST_F(ScrollRedirectionTest, OutsideTheNtFamilyNothingIsPatched) {
    EXPECT_EQ(InstallScrollRedirectionForVersion(0xC0000A04), 0);   // a Windows 98 version word
    for (int k = 0; k < kScrollCallCount; ++k) {
        EXPECT_EQ(std::memcmp(functionBytes[k], Resolved(k), kSaved), 0) << kScrollRedirections[k].name;
        EXPECT_EQ(std::memcmp(&trampolines[k], kScrollRedirections[k].trampoline, sizeof(Trampoline)), 0);
    }
}

TEST_F(ScrollRedirectionTest, EachOfTheEightJumpsToItsReplacementUntilRemoved) {
    ASSERT_EQ(InstallScrollRedirection(), 1);
    for (int k = 0; k < kScrollCallCount; ++k) {
        const ScrollRedirection& entry = kScrollRedirections[k];
        EXPECT_EQ(JumpTarget(Resolved(k)), static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entry.replacement)))
            << entry.name;
        int span = entry.trampoline->bytes[kTrampolineSpanByte];
        EXPECT_GE(span, 5) << entry.name;
        EXPECT_EQ(std::memcmp(entry.trampoline->bytes, functionBytes[k], span), 0) << entry.name;
    }
    ExerciseAllEight();
    ExpectSkinnedBarsAnswer(true);

    EXPECT_EQ(RemoveScrollRedirection(), 1);
    for (int k = 0; k < kScrollCallCount; ++k)
        EXPECT_EQ(std::memcmp(functionBytes[k], Resolved(k), kSaved), 0) << kScrollRedirections[k].name;
    // Removed hooks stay removed; a second installation works as the first.
    ExerciseAllEight();
    ExpectSkinnedBarsAnswer(false);
    ASSERT_EQ(InstallScrollRedirection(), 1);
    ExerciseAllEight();
    ExpectSkinnedBarsAnswer(true);
}

TEST_F(ScrollRedirectionTest, TheListBoxsOwnCallsArrive) {
    ASSERT_EQ(InstallScrollRedirection(), 1);
    HWND list = CreateWindowA("LISTBOX", "", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0, 0, 200, 150, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    for (int k = 0; k < 30; ++k) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    // Without skinned bars the list box scrolls as before: its own range reached the system.
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 29);

    // With them, the calls the list box makes from inside the system reach the skinned record.
    HWND skinned = CreateWindowA("LISTBOX", "", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0, 0, 200, 150, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(skinned, nullptr);
    ASSERT_EQ(AttachSkinnedScrollBars(skinned), 1);
    const SkinnedScrollBar& bar = FindSkinnedScrollWindow(skinned)->vertical;
    for (int k = 0; k < 30; ++k) SendMessageA(skinned, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    EXPECT_EQ(bar.info.nMax, 29);
    DetachSkinnedScrollBars(skinned);
    DestroyWindow(skinned);
    DestroyWindow(list);
}

TEST_F(ScrollRedirectionTest, InstallAndRemoveWhileAnotherThreadScrolls) {
    std::atomic<bool> stop(false), ready(false);
    std::atomic<long> rounds(0), wrong(0);
    std::thread scroller([&] {
        HWND window = ScrollingWindow();
        SetScrollRange(window, SB_VERT, 0, 1000, FALSE);
        ready = true;
        for (int pos = 0; !stop; pos = (pos + 7) % 1000) {
            SetScrollPos(window, SB_VERT, pos, FALSE);
            SCROLLINFO info = {sizeof info, SIF_POS, 0, 0, 0, 0, 0};
            if (GetScrollPos(window, SB_VERT) != pos || !GetScrollInfo(window, SB_VERT, &info) || info.nPos != pos)
                ++wrong;
            ++rounds;
        }
        DestroyWindow(window);
    });
    while (!ready) Sleep(1);
    // Each round patches and restores sixteen times, each time with the
    // other threads suspended.
    int removed = 0;
    for (int round = 0; round < 50; ++round) {
        InstallScrollRedirection();
        removed += RemoveScrollRedirection();
    }
    stop = true;
    scroller.join();
    EXPECT_EQ(removed, 50);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(rounds, 0);
}

}  // namespace
