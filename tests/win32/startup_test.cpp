// What the user sees right after start-up, and the resources behind it.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "app/shell_handles_win32.h"
#include "document/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/win32/harness_win32.h"

static std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

static std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char text[128] = "";
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

TEST(Startup, TitlePanesAndGrayedItems) {
    ResetProgramState();
    EXPECT_EQ(MainWindowTitle(), "Quillon");
    EXPECT_EQ(PaneText(0), "No point");
    EXPECT_EQ(PaneText(1), "Frame: 1/0");
    EXPECT_EQ(PaneText(2), "Zoom: 1/64");
    for (int id : {CMD_SAVE_FRAMES, CMD_UNDO, CMD_CLEAR_PICTURE})
        EXPECT_TRUE(MenuItemGrayed(id)) << id;
    for (int id : {CMD_OPEN_FRAMES, CMD_NEXT_FRAME, CMD_ZOOM_IN, CMD_CHANGE_SCAN_SPEED, CMD_ABOUT})
        EXPECT_FALSE(MenuItemGrayed(id)) << id;
}

TEST(Startup, WindowsClassesAndLayout) {
    HWND main = ProgramWindow();
    ResetProgramState();
    EXPECT_EQ(ClassOf(main), "zel_main");
    EXPECT_TRUE(GetWindowLongA(main, GWL_STYLE) & WS_CLIPCHILDREN);
    HWND bar = GetDlgItem(main, IDC_STATUS_BAR);
    ASSERT_EQ(bar, StatusBarWindow());
    EXPECT_EQ(ClassOf(bar), STATUSCLASSNAMEA);
    int edges[8] = {};
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 8, (LPARAM)edges), 4);
    EXPECT_EQ(edges[0], 180);
    EXPECT_EQ(edges[1], 270);
    EXPECT_EQ(edges[2], 340);
    EXPECT_EQ(edges[3], 430);

    HWND canvas = GetDlgItem(main, IDC_CANVAS);
    ASSERT_EQ(canvas, CanvasWindow());
    EXPECT_EQ(ClassOf(canvas), "zel_draw");
    EXPECT_TRUE(GetWindowLongA(canvas, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    LONG style = GetWindowLongA(canvas, GWL_STYLE);
    EXPECT_TRUE((style & (WS_HSCROLL | WS_VSCROLL)) == (WS_HSCROLL | WS_VSCROLL));

    // Resizing lays the canvas over everything but the status bar, one pixel wider.
    SetWindowPos(main, nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOMOVE);
    PumpProgramMessages();
    RECT client, canvasRect, barRect;
    GetClientRect(main, &client);
    GetClientRect(bar, &barRect);
    GetWindowRect(canvas, &canvasRect);
    MapWindowPoints(nullptr, main, (POINT*)&canvasRect, 2);
    EXPECT_EQ(canvasRect.left, 0);
    EXPECT_EQ(canvasRect.top, 0);
    EXPECT_EQ(canvasRect.right - canvasRect.left, client.right + 1);
    EXPECT_EQ(canvasRect.bottom - canvasRect.top, client.bottom - barRect.bottom);

    WNDCLASSA info;
    ASSERT_TRUE(GetClassInfoA(AppInstance(), "zel_draw", &info));
    EXPECT_EQ(info.hbrBackground, (HBRUSH)GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(GetClassInfoA(AppInstance(), "zel_vect", &info));
    EXPECT_EQ(info.hbrBackground, (HBRUSH)(COLOR_MENU + 1));
    EXPECT_NE(info.hIcon, nullptr);
}

TEST(Startup, MenusFromTheResource) {
    HMENU menu = GetMenu(ProgramWindow());
    ResetProgramState();
    menu = GetMenu(ProgramWindow());
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(MenuText(menu, 0, MF_BYPOSITION), "&File");
    EXPECT_EQ(MenuText(menu, 3, MF_BYPOSITION), "&Help");
    HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuItemCount(file), 10);
    EXPECT_EQ(GetMenuState(file, 5, MF_BYPOSITION) & MF_SEPARATOR, (UINT)MF_SEPARATOR);
    EXPECT_EQ(MenuText(menu, CMD_WRITE_SELECTION_AS, MF_BYCOMMAND),
              "&Write Selection As...\tCtrl+W");
    EXPECT_EQ(MenuText(menu, CMD_CHANGE_BLANKING_DELAY, MF_BYCOMMAND), "Change Blan&king Delay");
    EXPECT_EQ(MenuText(menu, CMD_ZOOM_IN, MF_BYCOMMAND), "Zoom &In\tPgDown");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 1)), 11);

    HMENU vectorPopup = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_VECTOR_POPUP));
    EXPECT_EQ(MenuText(vectorPopup, 0, MF_BYPOSITION), "mnu2");
    EXPECT_EQ(MenuText(vectorPopup, CMD_TABLE_DELETE, MF_BYCOMMAND),
              "&Delete Selected Vectors\tDel");
    DestroyMenu(vectorPopup);
    HMENU framePopup = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_FRAME_POPUP));
    EXPECT_EQ(MenuText(framePopup, 0, MF_BYPOSITION), "mnu3");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(framePopup, 0)), 4);
    EXPECT_EQ(MenuText(framePopup, CMD_RESIZE_SELECTED_FRAMES, MF_BYCOMMAND),
              "&Resize Selected Frames");
    DestroyMenu(framePopup);
}

TEST(Startup, AcceleratorTableIsAllVirtualKeys) {
    ProgramWindow();
    ACCEL entries[32];
    int count = CopyAcceleratorTableA(AcceleratorTable(), entries, 32);
    ASSERT_EQ(count, 14);
    for (int i = 0; i < count; ++i) EXPECT_TRUE(entries[i].fVirt & FVIRTKEY) << i;
    auto commandOf = [&](WORD key, BYTE modifiers) {
        for (int i = 0; i < count; ++i)
            if (entries[i].key == key && (entries[i].fVirt & ~FNOINVERT) == (FVIRTKEY | modifiers))
                return (int)entries[i].cmd;
        return 0;
    };
    EXPECT_EQ(commandOf('Z', FCONTROL), CMD_UNDO);
    EXPECT_EQ(commandOf('E', FCONTROL), CMD_RESIZE_CURRENT_FRAME);
    EXPECT_EQ(commandOf(VK_NEXT, 0), CMD_ZOOM_IN);
    EXPECT_EQ(commandOf(VK_PRIOR, 0), CMD_ZOOM_OUT);
    EXPECT_EQ(commandOf(VK_LEFT, 0), CMD_PREVIOUS_FRAME);
}

// The Cancel buttons must read as half-width katakana, not as mojibake.
TEST(Startup, DialogTemplatesCarryKatakanaCancel) {
    ProgramWindow();
    for (int id : {IDD_VALUE_PROMPT, IDD_EDIT_VECTOR}) {
        HWND dialog = CreateDialogParamW(
            AppInstance(), MAKEINTRESOURCEW(id), ProgramWindow(),
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        ASSERT_NE(dialog, nullptr) << id;
        wchar_t text[16] = L"";
        GetDlgItemTextW(dialog, IDCANCEL, text, 16);
        EXPECT_STREQ(text, KatakanaCancel) << id;
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        DestroyWindow(dialog);
    }
    HWND prompt = CreateDialogParamA(
        AppInstance(), MAKEINTRESOURCEA(IDD_VALUE_PROMPT), ProgramWindow(),
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    char caption[32] = "";
    GetWindowTextA(prompt, caption, sizeof caption);
    EXPECT_STREQ(caption, "IDD_OPTION");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(prompt, IDC_PROMPT_NUMBER_FIELD), GWL_STYLE) & ES_RIGHT);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(prompt, IDC_PROMPT_NUMBER_FIELD), GWL_STYLE) &
                 ES_NUMBER);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(prompt, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    DestroyWindow(prompt);
}
