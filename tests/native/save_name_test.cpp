// The save dialog's rename when the file type changes, and its refusal to
// run past the name buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files/save_name_logic.h"

namespace {

std::string Rewritten(const std::string& typed, const char* extension, int* result = nullptr) {
    char text[SAVE_NAME_BUFFER];
    std::memset(text, 0x55, sizeof text);
    std::strcpy(text, typed.c_str());
    int r = RewriteSaveName(text, SAVE_NAME_BUFFER, extension);
    if (result) *result = r;
    return text;
}

TEST(SaveName, EndingFollowsTheChosenType) {
    EXPECT_EQ(Rewritten("show.csv", DefaultExtensionAt(2)), "show.ild");
    EXPECT_EQ(Rewritten("show.csv", DefaultExtensionAt(3)), "show.frm");
    EXPECT_EQ(Rewritten("show.ild", DefaultExtensionAt(1)), "show.csv");
    // All Files has no extension: the name keeps a bare dot.
    EXPECT_EQ(Rewritten("show.csv", DefaultExtensionAt(4)), "show.");
}

TEST(SaveName, ReplacesFromTheFirstDotOrAppends) {
    EXPECT_EQ(Rewritten("my.show.csv", "ild"), "my.ild");
    EXPECT_EQ(Rewritten("show", "csv"), "show.csv");
    EXPECT_EQ(Rewritten(".csv", "frm"), ".frm");
    EXPECT_EQ(Rewritten("show.", "ild"), "show.ild");
}

TEST(SaveName, EmptyTextStaysEmpty) {
    int result = -1;
    EXPECT_EQ(Rewritten("", "csv", &result), "");
    EXPECT_EQ(result, 0);
}

TEST(SaveName, LongNamesNeverRunPastTheBuffer) {
    // 251 characters + ".csv" + terminator fill the 256 exactly.
    int result = -1;
    std::string fits(251, 'a');
    EXPECT_EQ(Rewritten(fits, "csv", &result), fits + ".csv");
    EXPECT_EQ(result, 1);

    // One more and the new ending would not fit: the typed name stays.
    std::string tooLong(252, 'a');
    EXPECT_EQ(Rewritten(tooLong, "csv", &result), tooLong);
    EXPECT_EQ(result, 0);
    std::string full(255, 'b');
    EXPECT_EQ(Rewritten(full, "ild", &result), full);
    EXPECT_EQ(result, 0);

    // A long base before a short ending: replacing would still overflow.
    std::string dotted = std::string(253, 'c') + ".x";
    EXPECT_EQ(Rewritten(dotted, "frm", &result), dotted);
    EXPECT_EQ(result, 0);
}

TEST(SaveName, BytesBeyondTheNewEndingAreUntouched) {
    char text[16];
    std::memset(text, '#', sizeof text);
    std::strcpy(text, "ab.cdefgh");
    ASSERT_EQ(RewriteSaveName(text, 8, "x"), 0);  // not terminated within 8: refused
    EXPECT_EQ(text[9], 0);
    ASSERT_EQ(RewriteSaveName(text, 10, "ild"), 1);
    EXPECT_STREQ(text, "ab.ild");
    EXPECT_EQ(text[10], '#');
}

TEST(SaveName, ExtensionTableIsBounded) {
    EXPECT_STREQ(DefaultExtensionAt(0), "");
    EXPECT_STREQ(DefaultExtensionAt(1), "csv");
    EXPECT_STREQ(DefaultExtensionAt(4), "");
    EXPECT_STREQ(DefaultExtensionAt(5), "");
    EXPECT_STREQ(DefaultExtensionAt(-1), "");
}

}  // namespace
