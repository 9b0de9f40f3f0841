// The File menu's frame-file commands and the two routines they share, on
// the system's file dialogs.
#pragma once

#include <windows.h>

#include "files/file_flows.h"  // SAVE_ASK_NAME, SAVE_SELECTION

int LoadFrames(HWND owner, const char* path, int insert);
int SaveFrames(HWND owner, int flags, int first, int last);
// The question before unsaved changes would be lost (OfferToSaveChanges),
// its Yes saving through the system's dialogs.
int OfferToSave(HWND owner, const char* caption);

void OpenFramesCommand(HWND mainWindow);        // 40004
void InsertFramesCommand(HWND mainWindow);      // 40015
void SaveFramesCommand(HWND mainWindow);        // 40010
void SaveFramesAsCommand(HWND mainWindow);      // 40005
void WriteSelectionAsCommand(HWND mainWindow);  // 40027
