// What the value prompt and the Edit Vector dialog show and take, opened by
// the program's own commands: the katakana Cancel on the screen, the initial
// text selected so that typing replaces it, and the template bytes behind
// the Edit Vector dialog's labels.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
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
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(windowDc);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* words = (const DWORD*)bits;
    std::vector<COLORREF> pixels(words, words + client.right * client.bottom);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    ReleaseDC(window, windowDc);
    return pixels;
}

std::wstring WideText(HWND window) {
    wchar_t text[64] = L"";
    GetWindowTextW(window, text, 64);
    return text;
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

// The Cancel button of an open dialog: its text read back as Unicode, and
// its pixels on the screen.
struct SeenCancel {
    std::wstring text;
    std::vector<COLORREF> pixels;
    int labelId = 0;
};

void SeeCancel(HWND dialog, SeenCancel* seen) {
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    seen->text = WideText(cancel);
    seen->pixels = ClientPixels(cancel);
    HWND label = FindWindowExA(dialog, nullptr, "Static", "V");
    if (label) seen->labelId = GetDlgCtrlID(label);
}

void ExpectKatakanaOnScreen(const SeenCancel& seen, int templateId) {
    EXPECT_EQ(seen.text, KatakanaCancel) << "the button's text, read as Unicode";
    CancelLooks looks = LooksOfCancel(templateId);
    ASSERT_FALSE(looks.katakana.empty());
    EXPECT_NE(looks.katakana, looks.missingGlyphs)
        << "the dialog font has no glyphs for the katakana (fonts-ipafont-gothic and the Wine "
           "prefix set up by scripts/wine-env.sh)";
    EXPECT_NE(looks.katakana, looks.questionMarks);
    EXPECT_TRUE(seen.pixels == looks.katakana) << "the screen shows the katakana";
    EXPECT_FALSE(seen.pixels == looks.questionMarks);
}

void OpenVectorTableOnRow(int row) {
    PressKey('T', true);
    ASSERT_NE(vectorList, nullptr);
    SetFocus(vectorList);
    SetRowState(vectorList, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

// Opens a dialog by the given step of the program, looks at its Cancel
// button and cancels it.
SeenCancel CancelOf(const char* caption, const std::function<void()>& open) {
    SeenCancel seen;
    AnswerDialog(caption, CustomAction([&seen](HWND dialog) {
                     SeeCancel(dialog, &seen);
                     PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                 }));
    open();
    return seen;
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

TEST_F(DialogTextsTest, ValuePromptShowsKatakanaCancel) {
    SeenCancel seen = CancelOf("Change Speed", [] { SendCommand(CMD_CHANGE_SCAN_SPEED); });
    ExpectKatakanaOnScreen(seen, IDD_VALUE_PROMPT);
}

TEST_F(DialogTextsTest, EditVectorShowsKatakanaCancelAndLabelIds) {
    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
    OpenVectorTableOnRow(0);
    SeenCancel seen = CancelOf("Edit Vector", [] { PressKey(VK_RETURN); });
    ExpectKatakanaOnScreen(seen, IDD_EDIT_VECTOR);
    EXPECT_EQ(seen.labelId, 65535);
}

TEST_F(DialogTextsTest, TypingReplacesThePromptsInitialText) {
    ScanSpeed = 2000;
    AnswerDialog("Change Speed", TypeThenEnter("5000"));
    SendCommand(CMD_CHANGE_SCAN_SPEED);
    EXPECT_EQ(ScanSpeed, 5000) << "not 50002000";
    EXPECT_EQ(PaneText(0), "No point");

    AnswerDialog("Change Delay", TypeThenEnter("7"));
    SendCommand(CMD_CHANGE_BLANKING_DELAY);
    EXPECT_EQ(BlankingDelay, 7) << "not 73";
}

TEST_F(DialogTextsTest, TypingReplacesTheEditVectorBeamFlag) {
    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
    OpenVectorTableOnRow(0);
    AnswerDialog("Edit Vector", TypeThenEnter("0"));
    PressKey(VK_RETURN);
    EXPECT_EQ(workingFrame.points[0].flags & POINT_VISIBLE, 0) << "V 0, not 01";
    EXPECT_EQ(Cell(vectorList, 0, 1), "0");
}

namespace {

struct TemplateItem {
    DWORD id;
    std::wstring className;  // "#0082" for an ordinal class
    std::wstring text;
};

const BYTE* ReadSzOrOrd(const BYTE* at, std::wstring* out) {
    const WORD* word = (const WORD*)at;
    if (word[0] == 0xFFFF) {
        *out = L"#" + std::to_wstring(word[1]);
        return at + 4;
    }
    const wchar_t* text = (const wchar_t*)at;
    *out = text;
    return at + 2 * (out->size() + 1);
}

const BYTE* AlignDword(const BYTE* at, const BYTE* base) {
    return base + ((at - base + 3) & ~3);
}

// The items of an extended dialog template as the program's module holds it.
std::vector<TemplateItem> TemplateItems(int templateId) {
    HRSRC found = FindResourceA(AppInstance(), MAKEINTRESOURCEA(templateId), (LPCSTR)RT_DIALOG);
    if (!found) return {};
    const BYTE* base = (const BYTE*)LockResource(LoadResource(AppInstance(), found));
    const WORD* header = (const WORD*)base;
    if (header[0] != 1 || header[1] != 0xFFFF) return {};  // not DLGTEMPLATEEX
    DWORD style = *(const DWORD*)(base + 12);
    int count = *(const WORD*)(base + 16);
    const BYTE* at = base + 26;
    std::wstring skipped;
    at = ReadSzOrOrd(at, &skipped);  // menu
    at = ReadSzOrOrd(at, &skipped);  // class
    at = ReadSzOrOrd(at, &skipped);  // title
    if (style & DS_SETFONT) at = ReadSzOrOrd(at + 6, &skipped);
    std::vector<TemplateItem> items;
    for (int i = 0; i < count; ++i) {
        at = AlignDword(at, base);
        TemplateItem item;
        item.id = *(const DWORD*)(at + 20);
        at = ReadSzOrOrd(at + 24, &item.className);
        at = ReadSzOrOrd(at, &item.text);
        at += 2 + *(const WORD*)at;
        items.push_back(item);
    }
    return items;
}

}  // namespace

TEST(DialogTemplates, EditVectorLabelsAre65535) {
    ProgramWindow();
    std::vector<TemplateItem> items = TemplateItems(IDD_EDIT_VECTOR);
    ASSERT_EQ(items.size(), 9u);
    const DWORD ids[] = {IDOK, IDCANCEL, 1004, 1002, 1003, 65535, 65535, 65535, 1005};
    const wchar_t* texts[] = {L"OK", KatakanaCancel, L"", L"", L"", L"V", L"X", L"Y", L"Static"};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, ids[i]) << i;
        EXPECT_EQ(items[i].text, texts[i]) << i;
    }
    for (const TemplateItem& item : TemplateItems(IDD_VALUE_PROMPT))
        EXPECT_LE(item.id, 65535u) << "no id is stored as a 32-bit -1";
}
