// The value prompt as the scan speed and blanking delay commands use it.
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "resources/resource_ids.h"
#include "tests/win32/harness_win32.h"

// Runs the scan speed command with the given answer and returns it.
static DialogAnswer* AskSpeed(DialogAction action, const char* typed = nullptr) {
    DialogAnswer* answer = AnswerDialog("Change Speed", action, typed ? IDC_PROMPT_NUMBER_FIELD : 0,
                                        typed ? typed : "");
    SendCommand(CMD_CHANGE_SCAN_SPEED);
    return answer;
}

TEST(ValuePromptDialog, SpeedPromptShowsCaptionFieldAndSitsAtThePointer) {
    ResetProgramState();
    SetCursorPos(500, 400);
    DialogAnswer* answer = AskSpeed(ClickButton(IDOK), "12345");
    ASSERT_TRUE(answer->seen);
    EXPECT_EQ(answer->windowRect.left, 468);
    EXPECT_EQ(answer->windowRect.top, 368);
    EXPECT_EQ(answer->FieldText(IDC_PROMPT_LINE), "Enter scan speed [pps]:");
    EXPECT_EQ(answer->FieldText(IDC_PROMPT_NUMBER_FIELD), "30000");
    EXPECT_TRUE(answer->FieldVisible(IDC_PROMPT_NUMBER_FIELD));
    EXPECT_FALSE(answer->FieldVisible(IDC_PROMPT_TEXT_FIELD));
    EXPECT_EQ(answer->focusedId, IDC_PROMPT_NUMBER_FIELD);
    EXPECT_EQ(ScanSpeed, 12345);
    EXPECT_TRUE(documentModified);
    EXPECT_FALSE(MenuItemGrayed(CMD_SAVE_FRAMES));
    ClearDialogAnswers();
}

TEST(ValuePromptDialog, SpeedAndDelayAreClamped) {
    ResetProgramState();
    workingFrame.points[0] = {POINT_VISIBLE, 1, 1};
    workingFrame.count = 1;
    AskSpeed(ClickButton(IDOK), "99999");
    EXPECT_EQ(ScanSpeed, 30000);
    AskSpeed(ClickButton(IDOK), "  -5");
    EXPECT_EQ(ScanSpeed, 1000);
    EXPECT_EQ(PaneText(0), " 1 points,  1000.0fps/1000pps");
    AskSpeed(ClickButton(IDOK), "abc");  // no digits read as 0
    EXPECT_EQ(ScanSpeed, 1000);

    DialogAnswer* delay =
        AnswerDialog("Change Delay", PressDialogKey(VK_RETURN), IDC_PROMPT_NUMBER_FIELD, "31");
    SendCommand(CMD_CHANGE_BLANKING_DELAY);
    ASSERT_TRUE(delay->seen);
    EXPECT_EQ(delay->FieldText(IDC_PROMPT_LINE), "Enter blanking delay [pts]:");
    EXPECT_EQ(delay->FieldText(IDC_PROMPT_NUMBER_FIELD), "3");
    EXPECT_EQ(BlankingDelay, 30);  // Enter accepts like OK
    AnswerDialog("Change Delay", ClickButton(IDOK), IDC_PROMPT_NUMBER_FIELD, "-1");
    SendCommand(CMD_CHANGE_BLANKING_DELAY);
    EXPECT_EQ(BlankingDelay, 0);
    ClearDialogAnswers();
}

TEST(ValuePromptDialog, CancelEscapeAndCloseBoxChangeNothing) {
    for (DialogAction action : {ClickButton(IDCANCEL), PressDialogKey(VK_ESCAPE), UseCloseBox()}) {
        ResetProgramState();
        DialogAnswer* answer = AskSpeed(action, "2000");
        EXPECT_TRUE(answer->seen);
        EXPECT_EQ(ScanSpeed, 30000);
        EXPECT_STREQ(Prompt::value, "30000");
        EXPECT_FALSE(documentModified);
        EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES));
        ClearDialogAnswers();
    }
}

// Through the port directly, as the frame name and interpolation callers use it.
TEST(ValuePromptDialog, TextFieldAndTheNineteenCharacterCut) {
    ResetProgramState();
    lstrcpyA(Prompt::value, "initial");
    DialogAnswer* answer = AnswerDialog("Frame Name", ClickButton(IDOK), IDC_PROMPT_TEXT_FIELD,
                                        "abcdefghijklmnopqrstuvwxy");
    ValuePromptRequest request = {"Frame Name", "Enter frame name:", true};
    EXPECT_EQ(ValuePrompt(nullptr, &request), PROMPT_OK);
    ASSERT_TRUE(answer->seen);
    EXPECT_EQ(answer->FieldText(IDC_PROMPT_TEXT_FIELD), "initial");
    EXPECT_TRUE(answer->FieldVisible(IDC_PROMPT_TEXT_FIELD));
    EXPECT_FALSE(answer->FieldVisible(IDC_PROMPT_NUMBER_FIELD));
    EXPECT_STREQ(Prompt::value, "abcdefghijklmnopqrs");

    AnswerDialog("Frame Name", UseCloseBox());
    EXPECT_EQ(ValuePrompt(nullptr, &request), PROMPT_CANCEL);
    EXPECT_STREQ(Prompt::value, "abcdefghijklmnopqrs");
    ClearDialogAnswers();
}
