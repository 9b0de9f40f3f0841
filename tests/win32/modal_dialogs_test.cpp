// The value prompt and the Edit Vector dialog, opened by the program's own
// commands. They act on the frame and the points they were opened for:
// while one is open, the main window's commands and the other tool window
// are held back. They show the katakana Cancel on the screen (both run
// through one modal call) and label ids of 65535, and open with their first
// field's text selected, so that typing replaces it.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/shell_handles_win32.h"
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

// A window's client pixels as it shows them.
std::vector<COLORREF> ClientPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return pixels;
}

// How the Cancel button of the template looks with a given text, in a
// dialog the test makes itself from the same template.
struct CancelLooks {
    std::vector<COLORREF> katakana, questionMarks, missingGlyphs;
};

CancelLooks LooksOfCancel(int templateId) {
    HWND dialog = CreateDialogParamW(
        AppInstance(), MAKEINTRESOURCEW(templateId), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    SetWindowPos(dialog, HWND_TOP, 700, 600, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    CancelLooks looks;
    auto look = [&](const wchar_t* text) {
        SetWindowTextW(cancel, text);
        UpdateWindow(dialog);
        return ClientPixels(cancel);
    };
    looks.katakana = look(KatakanaCancel);
    looks.questionMarks = look(L"?????");
    looks.missingGlyphs = look(L"\xE000\xE000\xE000\xE000\xE000");  // no font draws these
    DestroyWindow(dialog);
    return looks;
}

// Focuses and selects a row of an open table, as a click would.
void FocusRow(HWND list, int row) {
    ASSERT_NE(list, nullptr);
    SetFocus(list);
    SetRowState(list, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

// Types the text into the dialog's focused control as the keyboard would,
// then presses Enter.
DialogAction TypeThenEnter(const std::string& typed) {
    return CustomAction([typed](HWND dialog) {
        HWND focus = GetFocus();
        HWND target = (focus && IsChild(dialog, focus)) ? focus : dialog;
        for (char c : typed) PostMessageA(target, WM_CHAR, (WPARAM)(unsigned char)c, 1);
        PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageA(target, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
    });
}

class ModalDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override {
        ClearDialogAnswers();
        ResetProgramState();
    }
};

}  // namespace

TEST_F(ModalDialogsTest, FrameNamePromptHoldsBackTheMainWindowsCommands) {
    MakeFrames({"Alpha", "Beta", "Gamma"}, 1);
    PressKey('T', true);
    PressKey('F', true);
    FocusRow(frameList, 1);
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

TEST_F(ModalDialogsTest, EditVectorDialogHoldsBackTheFrameTableAndTheMainWindow) {
    MakeFrames({"Alpha", "Beta"}, 1);
    PressKey('F', true);
    workingFrame.count = 2;  // a point drawn since
    workingFrame.points[1] = {POINT_VISIBLE, 5, -5};
    PressKey('T', true);
    FocusRow(vectorList, 1);

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

TEST_F(ModalDialogsTest, EditVectorShowsKatakanaCancelAndLabelIds) {
    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
    PressKey('T', true);
    FocusRow(vectorList, 0);
    std::wstring text;
    std::vector<COLORREF> pixels;
    int labelId = 0;
    AnswerDialog("Edit Vector", CustomAction([&](HWND dialog) {
                     ShowWindow(dialog, SW_SHOW);
                     UpdateWindow(dialog);
                     HWND cancel = GetDlgItem(dialog, IDCANCEL);
                     wchar_t wide[64] = L"";
                     GetWindowTextW(cancel, wide, 64);
                     text = wide;
                     pixels = ClientPixels(cancel);
                     labelId = GetDlgCtrlID(FindWindowExA(dialog, nullptr, "Static", "V"));
                     PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                 }));
    PressKey(VK_RETURN);
    EXPECT_EQ(text, KatakanaCancel) << "the button's text, read as Unicode";
    CancelLooks looks = LooksOfCancel(IDD_EDIT_VECTOR);
    ASSERT_FALSE(looks.katakana.empty());
    EXPECT_NE(looks.katakana, looks.missingGlyphs)
        << "the dialog font has no glyphs for the katakana (fonts-ipafont-gothic and the Wine "
           "prefix set up by scripts/wine-env.sh)";
    EXPECT_NE(looks.katakana, looks.questionMarks);
    EXPECT_TRUE(pixels == looks.katakana) << "the screen shows the katakana";
    EXPECT_EQ(labelId, 65535) << "not a 32-bit -1";
}

TEST_F(ModalDialogsTest, TypingReplacesTheInitialText) {
    ScanSpeed = 2000;
    AnswerDialog("Change Speed", TypeThenEnter("5000"));
    SendCommand(CMD_CHANGE_SCAN_SPEED);
    EXPECT_EQ(ScanSpeed, 5000) << "not 50002000";
    EXPECT_EQ(PaneText(0), "No point");

    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
    PressKey('T', true);
    FocusRow(vectorList, 0);
    AnswerDialog("Edit Vector", TypeThenEnter("0"));
    PressKey(VK_RETURN);
    EXPECT_EQ(workingFrame.points[0].flags & POINT_VISIBLE, 0) << "V 0, not 01";
    EXPECT_EQ(Cell(vectorList, 0, 1), "0");
}
