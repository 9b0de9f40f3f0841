// The Vector Table and Frame Table windows driven through the real program:
// opened by their keys, rows read back from the list views, selection and
// edits through list notifications and the Edit Vector and name prompts.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/harness_win32.h"

namespace {

// Stores frames with the given names; frame i holds i + 2 points.
void MakeFrames(std::initializer_list<const char*> names) {
    int f = 0;
    for (const char* name : names) {
        workingFrame.count = f + 2;
        for (int i = 0; i < workingFrame.count; ++i)
            workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(10 * f + i), (int16_t)(-i)};
        StoreFrame(f, true);
        std::memset(frameStore.frameNames[f].bytes, ' ', 16);
        std::memcpy(frameStore.frameNames[f].bytes, name, std::strlen(name));
        ++f;
    }
    LoadFrame(0);
}

class TableWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

}  // namespace

TEST_F(TableWindowsTest, VectorTableMirrorsTheWorkingFrame) {
    workingFrame.count = 2;
    workingFrame.points[0] = {POINT_VISIBLE, 100, -250};
    workingFrame.points[1] = {0, -7, 3};
    PressKey('T', true);
    ASSERT_NE(vectorList, nullptr);
    char title[32] = "";
    GetWindowTextA(vectorTableWindow, title, sizeof title);
    EXPECT_STREQ(title, "Vector Table");
    ASSERT_EQ(Rows(vectorList), 2);
    EXPECT_EQ(Cell(vectorList, 0, 0), "1");
    EXPECT_EQ(Cell(vectorList, 0, 1), "1");
    EXPECT_EQ(Cell(vectorList, 0, 2), "100");
    EXPECT_EQ(Cell(vectorList, 0, 3), "250") << "Y is shown growing upward";
    EXPECT_EQ(Cell(vectorList, 1, 1), "0");
    EXPECT_EQ(Cell(vectorList, 1, 3), "-3");
    PressKey('T', true);
    EXPECT_EQ(vectorTableWindow, nullptr);
    EXPECT_EQ(vectorList, nullptr);
}

TEST_F(TableWindowsTest, SelectingARowSelectsThePoint) {
    workingFrame.count = 3;
    for (int i = 0; i < 3; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)i, 0};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetRowState(vectorList, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE | POINT_SELECTED);
    SetRowState(vectorList, 1, 0, LVIS_SELECTED);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE);
}

TEST_F(TableWindowsTest, InsertAndDeleteKeysInTheList) {
    workingFrame.count = 5;
    for (int i = 0; i < 5; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i + 1), 0};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetFocus(vectorList);
    SetRowState(vectorList, 1, LVIS_FOCUSED, LVIS_FOCUSED);
    PressKey(VK_INSERT);
    ASSERT_EQ(workingFrame.count, 6);
    EXPECT_EQ(workingFrame.points[2].x, 2);
    EXPECT_EQ(Rows(vectorList), 6);
    EXPECT_EQ(PaneText(0).substr(0, 9), " 6 points");
    EXPECT_NE(SendMessageA(vectorList, LVM_GETITEMSTATE, 1, LVIS_FOCUSED) & LVIS_FOCUSED, 0u);

    SetRowState(vectorList, 0, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(vectorList, 3, LVIS_SELECTED, LVIS_SELECTED);
    PressKey(VK_DELETE);
    ASSERT_EQ(workingFrame.count, 4);
    EXPECT_EQ(workingFrame.points[0].x, 2);
    EXPECT_EQ(workingFrame.points[2].x, 4);
    EXPECT_EQ(Cell(vectorList, 3, 0), "4");
    EXPECT_FALSE(MenuItemGrayed(CMD_UNDO));
    PressKey('Z', true);
    EXPECT_EQ(workingFrame.count, 6);
}

TEST_F(TableWindowsTest, EditVectorDialogWritesTheFocusedAndSelectedPoints) {
    workingFrame.count = 3;
    for (int i = 0; i < 3; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)i, (int16_t)-i};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetFocus(vectorList);
    SetRowState(vectorList, 0, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(vectorList, 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    DialogAnswer* answer = AnswerDialog("Edit Vector", CustomAction([](HWND dialog) {
                                            SetDlgItemTextA(dialog, 1004, "2");
                                            SetDlgItemTextA(dialog, 1002, "40000");
                                            SetDlgItemTextA(dialog, 1003, "20");
                                            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                                        }));
    PressKey(VK_RETURN);
    ASSERT_TRUE(answer->seen);
    EXPECT_EQ(answer->FieldText(1005), "2");
    EXPECT_EQ(answer->FieldText(1002), "1");
    EXPECT_EQ(answer->FieldText(1003), "1");
    EXPECT_EQ(workingFrame.points[1].flags & POINT_VISIBLE, 0);
    EXPECT_EQ(workingFrame.points[0].flags & POINT_VISIBLE, POINT_VISIBLE);
    EXPECT_EQ(workingFrame.points[0].x, -25536);
    EXPECT_EQ(workingFrame.points[1].y, -20);
    EXPECT_EQ(workingFrame.points[2].x, 2);
    EXPECT_EQ(Cell(vectorList, 0, 2), "-25536");
    EXPECT_EQ(Cell(vectorList, 1, 1), "0");

    SetDocumentModified(false);
    AnswerDialog("Edit Vector", ClickButton(IDCANCEL));
    PressKey(VK_RETURN);
    EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES)) << "a cancelled edit changes nothing";
}

TEST_F(TableWindowsTest, FrameTableListsFramesAndPicksThem) {
    MakeFrames({"Alpha", "Beta", "Gamma"});
    PressKey('F', true);
    ASSERT_NE(frameList, nullptr);
    ASSERT_EQ(Rows(frameList), 3);
    EXPECT_EQ(Cell(frameList, 1, 0), "2");
    EXPECT_EQ(Cell(frameList, 1, 1), "Beta            ") << "all 16 characters";
    SetRowState(frameList, 2, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    EXPECT_EQ(frameStore.currentFrame, 2);
    EXPECT_EQ(PaneText(1), "Frame: 3/3");
    EXPECT_EQ(workingFrame.count, 4);

    SetFocus(frameList);
    PressKey(VK_LEFT);
    EXPECT_EQ(frameStore.currentFrame, 1) << "arrow keys step frames even in the list";
    EXPECT_NE(SendMessageA(frameList, LVM_GETITEMSTATE, 1, LVIS_FOCUSED) & LVIS_FOCUSED, 0u);
}

TEST_F(TableWindowsTest, FrameNamePromptRenamesTheFocusedFrame) {
    MakeFrames({"Alpha", "Beta"});
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    SetFocus(frameList);
    DialogAnswer* answer = AnswerDialog("Frame Name", ClickButton(IDOK), 1000, "Intro");
    PressKey(VK_RETURN);
    ASSERT_TRUE(answer->seen);
    EXPECT_EQ(answer->FieldText(1000), "Alpha           ");
    EXPECT_EQ(std::string(frameStore.frameNames[0].bytes, 16), "Intro           ");
    EXPECT_EQ(Cell(frameList, 0, 1), "Intro           ");
    EXPECT_FALSE(MenuItemGrayed(CMD_SAVE_FRAMES));
}

TEST_F(TableWindowsTest, InsertAndDeleteFramesFromTheList) {
    MakeFrames({"Alpha", "Beta", "Gamma"});
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    SetFocus(frameList);
    SetRowState(frameList, 1, LVIS_FOCUSED, LVIS_FOCUSED);
    PressKey(VK_INSERT);
    ASSERT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(Rows(frameList), 4);
    EXPECT_EQ(Cell(frameList, 2, 1).substr(0, 4), "Beta");
    EXPECT_EQ(frameStore.currentFrame, 1);

    SetRowState(frameList, 0, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(frameList, 3, LVIS_SELECTED, LVIS_SELECTED);
    int first = -1, last = -1;
    ASSERT_EQ(SelectedFrameRangeWindow(&first, &last), 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 3);
    PressKey(VK_DELETE);
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(Rows(frameList), 2);
    EXPECT_EQ(PaneText(1), "Frame: 2/2");
}
