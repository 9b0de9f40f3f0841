// The tables' tool windows. A closed table keeps its window, hidden: opening
// it again puts that window back where a new one would open, which under Wine
// costs a fraction of creating a window and its list anew.
#pragma once

#include <windows.h>

struct ToolWindowKind {
    const char* className;
    const char* title;
    int width, height;
};

// The kept window of a kind when there is one, placed at the main window's
// client area's top left with the kind's size; otherwise a new one created
// there, owned by the main window. Either way it is hidden: shown once its
// rows are set, it is drawn once. *kept is null afterwards.
HWND OpenToolWindow(HWND mainWindow, const ToolWindowKind& kind, HWND* kept);
// Hides a shown tool window and keeps it in *kept for the next opening.
void CloseToolWindow(HWND window, HWND* kept);
