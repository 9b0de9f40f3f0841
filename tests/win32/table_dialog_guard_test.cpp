// The Frame Name prompt and the Edit Vector dialog act on the frame and the
// points they were opened for: while one is open, the main window's commands
// and the other tool window are held back.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/shell_win32.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "resources/resource_ids.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/harness_win32.h"

namespace {

std::string Name(int frame) {
    return std::string(frameStore.frameNames[frame].bytes, FRAME_NAME_LENGTH);
}

// Frame f holds f + 1 points at x = 10 f.
void MakeFrames(std::initializer_list<const char*> names) {
    int f = 0;
    for (const char* name : names) {
        workingFrame.count = f + 1;
        for (int i = 0; i <= f; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(10 * f), 0};
        StoreFrame(f, true);
        std::memset(frameStore.frameNames[f].bytes, ' ', FRAME_NAME_LENGTH);
        std::memcpy(frameStore.frameNames[f].bytes, name, std::strlen(name));
        ++f;
    }
    LoadFrame(0);
}

// What the windows looked like from inside an open dialog.
struct SeenFromDialog {
    bool mainEnabled = true;
    bool vectorTableEnabled = true;
    bool frameTableEnabled = true;
    int framesAfterCommands = -1;
};

void LookAround(SeenFromDialog* seen) {
    seen->mainEnabled = IsWindowEnabled(ProgramWindow()) != 0;
    seen->vectorTableEnabled = IsWindowEnabled(vectorTableWindow) != 0;
    seen->frameTableEnabled = IsWindowEnabled(frameTableWindow) != 0;
}

class TableDialogGuardTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

}  // namespace

TEST_F(TableDialogGuardTest, FrameNamePromptHoldsBackTheMainWindowsCommands) {
    MakeFrames({"Alpha", "Beta", "Gamma"});
    PressKey('T', true);
    PressKey('F', true);
    ASSERT_NE(frameList, nullptr);
    SetFocus(frameList);
    SetRowState(frameList, 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ASSERT_EQ(frameStore.currentFrame, 1);

    SeenFromDialog seen;
    AnswerDialog("Frame Name", CustomAction([&seen](HWND) {
                     LookAround(&seen);
                     SendCommand(CMD_DELETE_CURRENT_FRAME);  // as the menu would send it
                     PressKey('D', true);                    // Ctrl+D through the accelerators
                     PressKey(VK_RIGHT);                     // Next Frame
                     seen.framesAfterCommands = frameStore.numFrames;
                     // A prompt that cannot touch frames or points may open on top.
                     PostMessageA(ProgramWindow(), WM_COMMAND, CMD_CHANGE_SCAN_SPEED, 0);
                 }));
    DialogAnswer* speed =
        AnswerDialog("Change Speed", ClickButton(IDOK), IDC_PROMPT_NUMBER_FIELD, "12000");
    DialogAnswer* name =
        AnswerDialog("Frame Name", ClickButton(IDOK), IDC_PROMPT_TEXT_FIELD, "Intro");
    PressKey(VK_RETURN);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_FALSE(seen.vectorTableEnabled);
    EXPECT_FALSE(seen.frameTableEnabled);
    EXPECT_EQ(seen.framesAfterCommands, 3) << "Delete Current Frame must not run";
    EXPECT_TRUE(speed->seen);
    EXPECT_EQ(ScanSpeed, 12000);
    ASSERT_TRUE(name->seen);

    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(frameStore.currentFrame, 1);
    EXPECT_EQ(Name(1), "Intro           ") << "the name goes to the frame it was asked for";
    EXPECT_TRUE(IsWindowEnabled(ProgramWindow()));
    EXPECT_TRUE(IsWindowEnabled(vectorTableWindow));
    EXPECT_TRUE(IsWindowEnabled(frameTableWindow));
    EXPECT_TRUE(TakeUnansweredDialogs().empty());
}

TEST_F(TableDialogGuardTest, EditVectorDialogHoldsBackTheFrameTableAndTheMainWindow) {
    MakeFrames({"Alpha", "Beta"});
    PressKey('F', true);
    workingFrame.count = 2;  // a point drawn since
    workingFrame.points[1] = {POINT_VISIBLE, 5, -5};
    PressKey('T', true);
    ASSERT_NE(vectorList, nullptr);
    SetFocus(vectorList);
    SetRowState(vectorList, 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);

    SeenFromDialog seen;
    AnswerDialog("Edit Vector", CustomAction([&seen](HWND dialog) {
                     LookAround(&seen);
                     PressKey(VK_RIGHT);  // Next Frame would reload the points
                     SendCommand(CMD_BLANK_CURRENT_FRAME);
                     SendMessageA(frameTableWindow, WM_COMMAND, CMD_TABLE_DELETE, 0);
                     SetRowState(frameList, 1, LVIS_FOCUSED, LVIS_FOCUSED);  // a row click
                     seen.framesAfterCommands = frameStore.numFrames;
                     SetDlgItemTextA(dialog, IDC_EDIT_VECTOR_X, "77");
                     SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                 }));
    PressKey(VK_RETURN);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_FALSE(seen.frameTableEnabled);
    EXPECT_FALSE(seen.vectorTableEnabled) << "the dialog's owner";
    EXPECT_EQ(seen.framesAfterCommands, 2);
    EXPECT_EQ(frameStore.currentFrame, 0) << "no other frame became current";
    ASSERT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[1].x, 77) << "the edit reached the point it was opened for";
    EXPECT_EQ(Cell(vectorList, 1, 2), "77");
    EXPECT_TRUE(IsWindowEnabled(ProgramWindow()));
    EXPECT_TRUE(IsWindowEnabled(frameTableWindow));
}
