// The Vector Table tool window: one row per point of the working frame.
#pragma once

#include <windows.h>

extern HWND vectorTableWindow;  // null while closed
extern HWND vectorList;

LRESULT CALLBACK VectorTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void ToggleVectorTable(HWND mainWindow);  // 40016

// The refreshes other parts ask for; nothing happens while the window is closed.
void RefreshVectorTableWindow(int mode);
void AppendVectorRowWindow(int index);
void TruncateVectorRowsWindow(int count);

void InsertVector();
void DeleteSelectedVectors();
void EditVector();
