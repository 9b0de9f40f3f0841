// The main window (class zel_main): status bar, canvas, layout, commands,
// closing and dropped files.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
