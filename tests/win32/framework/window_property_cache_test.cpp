// The memo of window bindings answers what the window property holds: a
// binding ended, or made over, is never answered from memory, and a handle
// reused by a new window after the old one's binding ended starts unbound.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "ui/framework/window_property_cache.h"

namespace {

constexpr char kProperty[] = "ONDARIA_TEST_BINDING";

class PropertyCache : public ::testing::Test {
protected:
    void SetUp() override {
        cache.ClaimOwner();
        for (HWND& w : windows) {
            w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            ASSERT_NE(w, nullptr);
        }
    }
    void TearDown() override {
        for (HWND w : windows) {
            cache.Remove(w);
            DestroyWindow(w);
        }
    }

    WindowPropertyCache cache{kProperty};
    // More windows than the memo holds, so that some answers come from the property itself.
    HWND windows[12] = {};
    int objects[12] = {};
};

TEST_F(PropertyCache, AnswersWhatThePropertyHoldsThroughBindingsEndingsAndRebindings) {
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 12; ++i) cache.Set(windows[i], &objects[(i + round) % 12]);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < 12; ++i) {
                EXPECT_EQ(cache.Find(windows[i]), &objects[(i + round) % 12]);
                EXPECT_EQ(GetPropA(windows[i], kProperty), &objects[(i + round) % 12]);
            }
        }
        for (int i = 0; i < 12; i += 2) cache.Remove(windows[i]);
        for (int i = 0; i < 12; ++i) {
            void* expected = i % 2 ? &objects[(i + round) % 12] : nullptr;
            EXPECT_EQ(cache.Find(windows[i]), expected) << "window " << i << " round " << round;
            EXPECT_EQ(GetPropA(windows[i], kProperty), expected);
        }
    }
    EXPECT_EQ(cache.Find(nullptr), nullptr);
}

TEST_F(PropertyCache, ABindingMadeOutsideAfterTheEndIsFound) {
    cache.Set(windows[0], &objects[0]);
    ASSERT_EQ(cache.Find(windows[0]), &objects[0]);
    cache.Remove(windows[0]);
    EXPECT_EQ(cache.Find(windows[0]), nullptr);
    SetPropA(windows[0], kProperty, &objects[1]);
    EXPECT_EQ(cache.Find(windows[0]), &objects[1]);
}

TEST_F(PropertyCache, OtherThreadsSeeTheBindingsAndTheirEndings) {
    cache.Set(windows[0], &objects[0]);
    ASSERT_EQ(cache.Find(windows[0]), &objects[0]);
    void* seen = nullptr;
    std::thread([&] {
        seen = cache.Find(windows[0]);
        cache.Remove(windows[0]);
    }).join();
    EXPECT_EQ(seen, &objects[0]);
    EXPECT_EQ(cache.Find(windows[0]), nullptr);

    std::thread([&] { cache.Set(windows[1], &objects[1]); }).join();
    EXPECT_EQ(cache.Find(windows[1]), &objects[1]);
    std::thread([&] { cache.Set(windows[1], &objects[2]); }).join();
    EXPECT_EQ(cache.Find(windows[1]), &objects[2]);
}

// Until a thread claims it, the cache remembers nothing for anybody: the
// first thread to look is not made its owner.
TEST(PropertyCacheOwner, OnlyTheClaimingThreadIsRemembered) {
    WindowPropertyCache unclaimed{kProperty};
    HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    int object = 0, other = 0;
    std::thread([&] { EXPECT_EQ(unclaimed.Find(w), nullptr); }).join();
    unclaimed.Set(w, &object);
    EXPECT_EQ(unclaimed.Find(w), &object);
    SetPropA(w, kProperty, &other);   // unseen by an owner's memory, but there is no owner yet
    EXPECT_EQ(unclaimed.Find(w), &other);
    unclaimed.ClaimOwner();
    EXPECT_EQ(unclaimed.Find(w), &other);
    unclaimed.Remove(w);
    DestroyWindow(w);
}

TEST_F(PropertyCache, AHandleOfADestroyedWindowComesBackUnbound) {
    // The bindings end at WM_NCDESTROY; a new window may get the same handle.
    HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    cache.Set(gone, &objects[3]);
    ASSERT_EQ(cache.Find(gone), &objects[3]);
    cache.Remove(gone);
    DestroyWindow(gone);
    for (int i = 0; i < 64; ++i) {
        HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(cache.Find(w), nullptr);
        DestroyWindow(w);
    }
}

}  // namespace
