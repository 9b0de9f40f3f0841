// The shell starts and shows its main window.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/shell_win32.h"

TEST(Startup, MainWindowTitledQuillon) {
    HWND window = StartShell(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(window, nullptr);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Quillon");
    DestroyWindow(window);
}
