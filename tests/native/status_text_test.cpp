// The title and status pane texts, and how prompt entries read as numbers.
#include "app/status_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "document/number_parse.h"

static std::string PointPane(int count, int speed) {
    char text[STATUS_TEXT_LENGTH];
    FormatPointPane(count, speed, text, sizeof text);
    return text;
}

TEST(StatusText, PointPane) {
    EXPECT_EQ(PointPane(100, 30000), " 100 points,  300.0fps/30000pps");
    EXPECT_EQ(PointPane(7, 30000), " 7 points,  4285.7fps/30000pps");
    EXPECT_EQ(PointPane(1, 1000), " 1 points,  1000.0fps/1000pps");
    EXPECT_EQ(PointPane(3000, 1000), " 3000 points,  0.3fps/1000pps");
    EXPECT_EQ(PointPane(0, 30000), "No point");
    EXPECT_EQ(PointPane(-1, 30000), "No point");
    // The widest text fits its buffer whole.
    EXPECT_EQ(PointPane(3000, 30000), " 3000 points,  10.0fps/30000pps");
}

TEST(StatusText, FrameAndZoomPanes) {
    char text[STATUS_TEXT_LENGTH];
    FormatFramePane(0, 0, text, sizeof text);
    EXPECT_STREQ(text, "Frame: 1/0");
    FormatFramePane(999, 1000, text, sizeof text);
    EXPECT_STREQ(text, "Frame: 1000/1000");
    const char* zooms[] = {"Zoom: 1/1",  "Zoom: 1/2",  "Zoom: 1/4", "Zoom: 1/8",
                           "Zoom: 1/16", "Zoom: 1/32", "Zoom: 1/64"};
    for (int shift = 0; shift <= 6; ++shift) {
        FormatZoomPane(shift, text, sizeof text);
        EXPECT_STREQ(text, zooms[shift]);
    }
}

TEST(StatusText, Title) {
    char text[TITLE_TEXT_LENGTH];
    FormatTitle("", text, sizeof text);
    EXPECT_STREQ(text, "Quillon");
    FormatTitle(nullptr, text, sizeof text);
    EXPECT_STREQ(text, "Quillon");
    FormatTitle("show.csv", text, sizeof text);
    EXPECT_STREQ(text, "show.csv - Quillon");
    // The longest file title still leaves room for the product name.
    std::string longest(255, 'n');
    FormatTitle(longest.c_str(), text, sizeof text);
    EXPECT_EQ(std::string(text), longest + " - Quillon");
    // A small buffer cuts the text but keeps it terminated.
    char small[8];
    FormatTitle("show.csv", small, sizeof small);
    EXPECT_STREQ(small, "show.cs");
}

// The reading every numeric prompt relies on, with the clamping of its callers.
TEST(PromptNumbers, LeadingIntegerReading) {
    EXPECT_EQ(ParseLeadingInt("12345"), 12345);
    EXPECT_EQ(ParseLeadingInt("  \t-42xyz"), -42);
    EXPECT_EQ(ParseLeadingInt("+7"), 7);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("-"), 0);
    EXPECT_EQ(ParseLeadingInt("12 34"), 12);
    EXPECT_EQ(ParseLeadingInt("9999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseLeadingInt("-9999999999999999999"), INT32_MIN);
    int32_t value = 5;
    const char* end = nullptr;
    EXPECT_EQ(ScanInt("x1", &value, &end), 0);
    EXPECT_EQ(ScanInt(" 31,", &value, &end), 1);
    EXPECT_EQ(value, 31);
    EXPECT_EQ(*end, ',');
}

TEST(PromptNumbers, CallersClamp) {
    EXPECT_EQ(ClampInt(ParseLeadingInt("abc"), 1000, 30000), 1000);
    EXPECT_EQ(ClampInt(ParseLeadingInt("99999"), 1000, 30000), 30000);
    EXPECT_EQ(ClampInt(ParseLeadingInt("31"), 0, 30), 30);
    EXPECT_EQ(ClampInt(ParseLeadingInt("-1"), 0, 30), 0);
    EXPECT_EQ(ClampInt(ParseLeadingInt("0"), 1, 100), 1);
    EXPECT_EQ(ClampInt(ParseLeadingInt("50"), 1, 100), 50);
}
