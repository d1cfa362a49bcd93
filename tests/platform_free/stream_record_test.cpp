#include "catalogue/portable/stream_record.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(StreamRecord, UnterminatedFieldsAreTerminatedInPlaceAndOthersKept) {
    StreamRecord r;
    memset(&r, 'x', sizeof r);
    strcpy(r.slogan, "ok");
    EXPECT_EQ(FieldLength(r.name), 260u);
    EXPECT_EQ(TerminateTextFields(r), 8);
    EXPECT_EQ(FieldLength(r.name), 259u);
    EXPECT_STREQ(r.slogan, "ok");
    EXPECT_EQ(r.slogan[3], 'x');   // bytes behind a terminator stay
    EXPECT_EQ(r.padding[0], 'x');
    EXPECT_EQ(r.logo[0], 'x');
    EXPECT_EQ(TerminateTextFields(r), 0);
}

TEST(StreamRecord, SetFieldZeroFillsAndKeeps259Characters) {
    StreamRecord r;
    memset(&r, 'y', sizeof r);
    std::string long_text(400, 'a');
    SetField(r.name, long_text.c_str());
    EXPECT_EQ(strlen(r.name), 259u);
    SetField(r.name, "abc");
    EXPECT_STREQ(r.name, "abc");
    for (int i = 3; i < kTextFieldSize; ++i) ASSERT_EQ(r.name[i], 0) << i;
    EXPECT_EQ(r.slogan[0], 'y');
}
