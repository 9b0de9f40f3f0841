// Every text of the program's own dialogs fits where the dialog puts it, in
// the font the dialog gets: each prompt line on its one line, beside no
// field; the captions in their title bars; the buttons' and the Edit Vector
// labels' texts in their controls. A stand-in dialog font with wider
// letters wraps "Enter blanking delay [pts]:" and hides "[pts]:" under
// the field.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/harness_win32.h"

namespace {

// One text measured in its control's font against the control's room.
struct TextFit {
    std::wstring text;
    int width = 0, room = 0;         // one line, and the control's client width
    int height = 0, lineHeight = 0;  // as the control wraps it, and one line
    int roomHeight = 0;
};

TextFit MeasureText(HDC dc, HFONT font, const std::wstring& text, int room, int roomHeight,
                    UINT wrap) {
    HGDIOBJ old = SelectObject(dc, font);
    TextFit fit;
    fit.text = text;
    fit.room = room;
    fit.roomHeight = roomHeight;
    RECT line = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT wrapped = {0, 0, room, 0};
    DrawTextW(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | wrap | DT_NOPREFIX);
    fit.width = line.right;
    fit.lineHeight = line.bottom;
    fit.height = wrapped.bottom;
    SelectObject(dc, old);
    return fit;
}

// A control's text as it draws it: statics wrap at words, buttons keep one
// line inside their edges.
TextFit MeasureControl(HWND control, bool button) {
    wchar_t text[256] = L"";
    GetWindowTextW(control, text, 256);
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    TextFit fit = MeasureText(dc, (HFONT)SendMessageW(control, WM_GETFONT, 0, 0), text,
                              client.right - (button ? 2 * GetSystemMetrics(SM_CXEDGE) : 0),
                              client.bottom, button ? DT_SINGLELINE : DT_WORDBREAK);
    ReleaseDC(control, dc);
    return fit;
}

// The caption in the small caption font of a tool window, against the
// title bar less its close box and the frame.
TextFit MeasureCaption(HWND dialog) {
    wchar_t text[256] = L"";
    GetWindowTextW(dialog, text, 256);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfSmCaptionFont);
    RECT window;
    GetWindowRect(dialog, &window);
    int room = window.right - window.left - 2 * GetSystemMetrics(SM_CXDLGFRAME) -
               metrics.iSmCaptionWidth - 4;
    HDC dc = GetDC(dialog);
    TextFit fit = MeasureText(dc, font, text, room, metrics.iSmCaptionHeight, DT_SINGLELINE);
    ReleaseDC(dialog, dc);
    DeleteObject(font);
    return fit;
}

void ExpectFits(const TextFit& fit, const char* where) {
    const std::string text(fit.text.begin(), fit.text.end());  // the texts are ASCII or katakana
    EXPECT_LE(fit.width, fit.room) << where << ": " << text;
    EXPECT_EQ(fit.height, fit.lineHeight) << where << ": " << text << " wraps";
    EXPECT_LE(fit.lineHeight, fit.roomHeight) << where << ": " << text << " is cut below";
}

// Measures an open dialog's caption and the texts of its visible statics
// and buttons, then cancels it.
DialogAction MeasureThenCancel(std::vector<TextFit>* fits) {
    return CustomAction([fits](HWND dialog) {
        fits->push_back(MeasureCaption(dialog));
        for (HWND child = GetWindow(dialog, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[32] = L"";
            GetClassNameW(child, className, 32);
            bool button = lstrcmpiW(className, L"Button") == 0;
            bool shown = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
            if (shown && (button || lstrcmpiW(className, L"Static") == 0))
                fits->push_back(MeasureControl(child, button));
        }
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     (LPARAM)GetDlgItem(dialog, IDCANCEL));
    });
}

}  // namespace

TEST(DialogTextFit, EveryPromptsCaptionTextAndButtonsFit) {
    ResetProgramState();
    workingFrame.count = 2;
    workingFrame.points[0] = {POINT_VISIBLE, 100, -100};
    workingFrame.points[1] = {POINT_VISIBLE, -100, 100};
    StoreFrame(0, true);
    struct Prompt {
        const char* caption;
        int command;  // 0: opened through the port as its caller opens it
        ValuePromptRequest request;
    } prompts[] = {
        {"Change Speed", CMD_CHANGE_SCAN_SPEED, {}},
        {"Change Delay", CMD_CHANGE_BLANKING_DELAY, {}},
        {"Resize Frames", CMD_RESIZE_CURRENT_FRAME, {}},
        {"Frame Name", 0, {"Frame Name", "Enter frame name:", true}},
        {"Interpolation", 0, {"Interpolation", "Intermediate points:", false}},
    };
    for (const Prompt& prompt : prompts) {
        std::vector<TextFit> fits;
        DialogAnswer* answer = AnswerDialog(prompt.caption, MeasureThenCancel(&fits));
        if (prompt.command)
            SendCommand(prompt.command);
        else
            ValuePrompt(nullptr, &prompt.request);
        ASSERT_TRUE(answer->seen) << prompt.caption;
        ASSERT_EQ(fits.size(), 4u) << prompt.caption;  // caption, prompt line, OK, Cancel
        for (const TextFit& fit : fits) ExpectFits(fit, prompt.caption);
        ClearDialogAnswers();
    }
}

TEST(DialogTextFit, EditVectorCaptionLabelsAndButtonsFit) {
    ResetProgramState();
    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
    PressKey('T', true);
    ASSERT_NE(vectorList, nullptr);
    SetFocus(vectorList);
    SetRowState(vectorList, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    std::vector<TextFit> fits;
    DialogAnswer* answer = AnswerDialog("Edit Vector", MeasureThenCancel(&fits));
    PressKey(VK_RETURN);
    ASSERT_TRUE(answer->seen);
    ASSERT_EQ(fits.size(), 7u);  // caption, OK, Cancel, V, X, Y and the row number
    for (const TextFit& fit : fits) ExpectFits(fit, "Edit Vector");
    ClearDialogAnswers();
    PressKey('T', true);
}
