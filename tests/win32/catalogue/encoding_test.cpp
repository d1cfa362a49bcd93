#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/message_box_recorder.h"

TEST(Encoding, FrenchLiteralReachesMessageBoxAsWindows1252) {
    MessageBoxRecorder recorder;
    MessageBoxA(nullptr, "Préférences éàè", "Résultat", MB_ICONWARNING);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Pr\xE9" "f\xE9" "rences \xE9\xE0\xE8");
    EXPECT_EQ(recorder.boxes[0].caption, "R\xE9sultat");
    EXPECT_EQ(recorder.boxes[0].icon, static_cast<UINT>(MB_ICONWARNING));
}
