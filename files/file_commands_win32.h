// The File menu's frame-file commands and the two routines they share.
#pragma once

#include <windows.h>

enum { SAVE_ASK_NAME = 1, SAVE_SELECTION = 2 };

int LoadFrames(HWND owner, const char* path, int insert);
int SaveFrames(HWND owner, int flags, int first, int last);

void OpenFramesCommand(HWND mainWindow);       // 40004
void InsertFramesCommand(HWND mainWindow);     // 40015
void SaveFramesCommand(HWND mainWindow);       // 40010
void SaveFramesAsCommand(HWND mainWindow);     // 40005
void WriteSelectionAsCommand(HWND mainWindow); // 40027
