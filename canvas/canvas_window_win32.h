// The drawing canvas window (class zel_draw): mouse editing, scrolling,
// painting, and the zoom commands that act on it.
#pragma once

#include <windows.h>

LRESULT CALLBACK CanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Commands 40021 and 40022; they refresh the status panes themselves, the
// dispatcher repaints afterwards. The canvas keeps the frame point at its
// centre in place.
void ZoomIn(HWND canvas);
void ZoomOut(HWND canvas);
