// What the table rows say when the lists ask for them, and the type-ahead
// search over the first column.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "tables/row_search.h"
#include "tables/row_texts.h"

namespace {

std::string VectorCell(int row, int column, int size = 32) {
    char text[32];
    std::memset(text, 'x', sizeof text);
    VectorCellText(row, column, text, size);
    return text;
}

std::string FrameCell(int row, int column, int size = 32) {
    char text[32];
    std::memset(text, 'x', sizeof text);
    FrameCellText(row, column, text, size);
    return text;
}

class TableRowsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetDocument(); }
};

}  // namespace

TEST_F(TableRowsTest, VectorRowsShowNumberBeamXAndUpwardY) {
    workingFrame.points[0] = {POINT_VISIBLE | POINT_SELECTED, 100, -250};
    workingFrame.points[1] = {0, -32768, -32768};
    workingFrame.points[2] = {POINT_MARKED, 32767, 32767};
    workingFrame.count = 3;
    // Number, beam, x, and y upward: -y of the lowest y does not wrap, and
    // only the beam bit counts.
    const char* rows[3][4] = {
        {"1", "1", "100", "250"}, {"2", "0", "-32768", "32768"}, {"3", "0", "32767", "-32767"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(VectorCell(r, c), rows[r][c]) << r << "," << c;
    EXPECT_EQ(VectorCell(2999, 0), "3000");
    EXPECT_EQ(VectorCell(0, 4), "") << "no fifth column";
    EXPECT_EQ(VectorCell(3000, 0), "") << "beyond the fixed limit";
    EXPECT_EQ(VectorCell(-1, 0), "");
    EXPECT_EQ(VectorCell(1, 2, 4), "-32") << "cut to the room given, terminated";
}

TEST_F(TableRowsTest, FrameRowsShowNumberAndTheSixteenNameBytes) {
    std::memcpy(frameStore.frameNames[0].bytes, "Intro           ", 16);
    std::memcpy(frameStore.frameNames[1].bytes, "AB\0CDEFGHIJKLMNO", 16);
    std::memcpy(frameStore.frameNames[2].bytes, "abcdefghijklmnop", 16);
    EXPECT_EQ(FrameCell(0, 0), "1");
    EXPECT_EQ(FrameCell(0, 1), "Intro           ") << "trailing spaces belong to the name";
    EXPECT_EQ(FrameCell(1, 1), "AB") << "a zero byte ends the text";
    EXPECT_EQ(FrameCell(2, 1), "abcdefghijklmnop");
    EXPECT_EQ(FrameCell(2, 1, 5), "abcd");
    EXPECT_EQ(FrameCell(999, 0), "1000");
    EXPECT_EQ(FrameCell(1000, 1), "");
}

TEST_F(TableRowsTest, TypeAheadFindsTheNextRowStartingWithTheTypedText) {
    // Rows "1" to "25": from after row 0, "1" finds "10"; "12" finds "12".
    EXPECT_EQ(FindRowByPrefix(25, 1, "1", VectorCellText), 9);
    EXPECT_EQ(FindRowByPrefix(25, 9, "12", VectorCellText), 11);
    EXPECT_EQ(FindRowByPrefix(25, 20, "1", VectorCellText), 0) << "wraps to the start";
    EXPECT_EQ(FindRowByPrefix(25, 0, "3", VectorCellText), 2);
    EXPECT_EQ(FindRowByPrefix(25, 5, "26", VectorCellText), -1);
    EXPECT_EQ(FindRowByPrefix(25, 0, "x", VectorCellText), -1);
    EXPECT_EQ(FindRowByPrefix(25, 0, "", VectorCellText), -1);
    EXPECT_EQ(FindRowByPrefix(0, 0, "1", VectorCellText), -1);
    EXPECT_EQ(FindRowByPrefix(25, 99, "2", VectorCellText), 1) << "a start past the end is 0";
}

TEST_F(TableRowsTest, TypeAheadComparesLettersWithoutCase) {
    std::memcpy(frameStore.frameNames[0].bytes, "Alpha           ", 16);
    auto nameColumn = [](int row, int, char* text, int size) { FrameCellText(row, 1, text, size); };
    EXPECT_EQ(FindRowByPrefix(1, 0, "aLP", nameColumn), 0);
    EXPECT_EQ(FindRowByPrefix(1, 0, "alpha           x", nameColumn), -1);
}
