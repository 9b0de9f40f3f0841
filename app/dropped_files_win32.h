// Files dropped onto the main window.
#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

// Inserts the first dropped frame file at the current frame, or takes a
// ".bmp" file as the template picture; releases the drop in every case.
// Nothing is taken while a modal step is open.
void HandleDroppedFiles(HWND mainWindow, HDROP drop);
