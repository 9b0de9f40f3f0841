// The Frame Table tool window: one row per frame of the store.
#pragma once

#include <windows.h>

extern HWND frameTableWindow;  // null while closed
extern HWND frameList;

LRESULT CALLBACK FrameTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void ToggleFrameTable(HWND mainWindow);  // 40030

// Nothing happens while the window is closed.
void RefreshFrameTableWindow(int mode);
// 1 with the first and last selected rows; 0 when closed or nothing selected.
int SelectedFrameRangeWindow(int* first, int* last);

void EditFrameName();
void InsertFrameCopyCommand();
void DeleteSelectedFrames();
