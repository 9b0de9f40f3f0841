// Keys through the real message loop: accelerators act as commands wherever
// the focus is, and grayed items keep their keys quiet.
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "resources/resource_ids.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/harness_win32.h"

static void GivePoints(int count) {
    for (int i = 0; i < count; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)i, 0};
    workingFrame.count = count;
    workingFrame.changed = true;
}

TEST(ShellKeys, ArrowsStepFrames) {
    ResetProgramState();
    PressKey(VK_RIGHT);
    EXPECT_EQ(PaneText(1), "Frame: 2/0");
    PressKey(VK_RIGHT);
    PressKey(VK_LEFT);
    EXPECT_EQ(PaneText(1), "Frame: 2/0");
    PressKey(VK_LEFT);
    PressKey(VK_LEFT);  // nothing before the first frame
    EXPECT_EQ(PaneText(1), "Frame: 1/0");
    EXPECT_EQ(frameStore.currentFrame, 0);
}

TEST(ShellKeys, ArrowsStepFramesWhileTheFrameTableHasTheFocus) {
    ResetProgramState();
    for (int i = 0; i < 3; ++i) SendCommand(CMD_INSERT_BLANK_FRAME);
    EXPECT_EQ(PaneText(1), "Frame: 1/3");
    PressKey('F', true);  // Ctrl+F opens the Frame Table
    ASSERT_NE(frameTableWindow, nullptr);
    ASSERT_NE(frameList, nullptr);
    SetFocus(frameList);
    ASSERT_EQ(GetFocus(), frameList);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    EXPECT_EQ(PaneText(1), "Frame: 3/3");
    PressKey(VK_LEFT);
    EXPECT_EQ(PaneText(1), "Frame: 2/3");
    PressKey('F', true);
    EXPECT_EQ(frameTableWindow, nullptr);
}

TEST(ShellKeys, ZoomKeysAndCtrlKeys) {
    ResetProgramState();
    PressKey(VK_NEXT);
    EXPECT_EQ(PaneText(2), "Zoom: 1/32");
    PressKey(VK_PRIOR);
    PressKey(VK_PRIOR);  // already fully out
    EXPECT_EQ(PaneText(2), "Zoom: 1/64");
    PressKey('I', true);
    EXPECT_EQ(PaneText(1), "Frame: 1/1");
    EXPECT_FALSE(MenuItemGrayed(CMD_SAVE_FRAMES));
    PressKey('D', true);
    EXPECT_EQ(PaneText(1), "Frame: 1/0");
    PressKey('I');  // without Ctrl it is no command
    EXPECT_EQ(PaneText(1), "Frame: 1/0");
}

TEST(ShellKeys, CtrlZFollowsTheUndoRules) {
    ResetProgramState();
    GivePoints(7);
    PressKey('Z', true);  // grayed at start: the key does nothing
    EXPECT_EQ(workingFrame.count, 7);

    PressKey('B', true);  // blanking keeps the points for undo
    EXPECT_EQ(workingFrame.count, 0);
    EXPECT_EQ(PaneText(0), "No point");
    EXPECT_FALSE(MenuItemGrayed(CMD_UNDO));
    PressKey('Z', true);
    EXPECT_EQ(workingFrame.count, 7);
    EXPECT_EQ(PaneText(0), " 7 points,  4285.7fps/30000pps");
    EXPECT_TRUE(MenuItemGrayed(CMD_UNDO));  // one level only
    PressKey('Z', true);
    EXPECT_EQ(workingFrame.count, 7);

    PressKey('B', true);
    PressKey(VK_RIGHT);  // changing frames discards the snapshot
    EXPECT_TRUE(MenuItemGrayed(CMD_UNDO));
    PressKey(VK_LEFT);
    PressKey('Z', true);
    EXPECT_EQ(workingFrame.count, 0);
}

// Keys of the commands other parts implement reach them through the table.
TEST(ShellKeys, ResizeAndTableKeysReachTheirCommands) {
    ResetProgramState();
    SendCommand(CMD_INSERT_BLANK_FRAME);
    GivePoints(3);
    DialogAnswer* resize = AnswerDialog("Resize Frames", ClickButton(IDCANCEL));
    PressKey('E', true);
    EXPECT_TRUE(resize->seen);
    EXPECT_EQ(resize->FieldText(IDC_PROMPT_LINE), "Change frame size to:");
    PressKey('T', true);
    EXPECT_NE(vectorTableWindow, nullptr);
    PressKey('T', true);
    EXPECT_EQ(vectorTableWindow, nullptr);
    ClearDialogAnswers();
}

TEST(ShellKeys, SaveKeyQuietWhileGrayed) {
    ResetProgramState();
    DialogAnswer* saveAs = AnswerDialog("Save Frames", ClickButton(IDCANCEL));
    PressKey('S', true);
    PumpProgramMessages();
    EXPECT_FALSE(saveAs->seen);
    EXPECT_FALSE(documentModified);
    ClearDialogAnswers();
}
