// The main window's title and the status panes the shell writes (0 to 2).
#pragma once

#include <windows.h>

enum { STATUS_PANE_COUNT = 4 };
extern const int StatusPaneEdges[STATUS_PANE_COUNT];

// Creates the status bar with its four panes as a child of the main window.
HWND CreateStatusBar(HWND mainWindow, int childId);

// STATUS_TITLE and/or STATUS_PANES, read from the document at the moment.
void RefreshStatusWindow(int flags);
