// What the value prompt and the Edit Vector dialog show and take, opened by
// the program's own commands: the katakana Cancel on the screen (both run
// through one modal call), the label ids, and the initial text selected so
// that typing replaces it.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell_win32.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "resources/resource_ids.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/harness_win32.h"

namespace {

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

void OpenVectorTableOnRow(int row) {
    PressKey('T', true);
    ASSERT_NE(vectorList, nullptr);
    SetFocus(vectorList);
    SetRowState(vectorList, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
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

class DialogTextsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override {
        ClearDialogAnswers();
        ResetProgramState();
    }
};

}  // namespace

TEST_F(DialogTextsTest, EditVectorShowsKatakanaCancelAndLabelIds) {
    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
    OpenVectorTableOnRow(0);
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

TEST_F(DialogTextsTest, TypingReplacesTheInitialText) {
    ScanSpeed = 2000;
    AnswerDialog("Change Speed", TypeThenEnter("5000"));
    SendCommand(CMD_CHANGE_SCAN_SPEED);
    EXPECT_EQ(ScanSpeed, 5000) << "not 50002000";
    EXPECT_EQ(PaneText(0), "No point");

    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
    OpenVectorTableOnRow(0);
    AnswerDialog("Edit Vector", TypeThenEnter("0"));
    PressKey(VK_RETURN);
    EXPECT_EQ(workingFrame.points[0].flags & POINT_VISIBLE, 0) << "V 0, not 01";
    EXPECT_EQ(Cell(vectorList, 0, 1), "0");
}
