// Placeholder canvas procedure until the canvas lands.
#include "canvas/canvas_window_win32.h"

LRESULT CALLBACK CanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void ZoomIn() {}
void ZoomOut() {}
