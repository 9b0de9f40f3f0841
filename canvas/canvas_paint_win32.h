// Painting of the canvas and the scroll bars written at every paint.
#pragma once

#include <windows.h>

// Recenters and clamps the origin for the current client size and writes
// both scroll bars.
void UpdateScrollBars(HWND window);

// The answer to WM_PAINT: draws the whole scene from the model; returns 0.
LRESULT PaintCanvas(HWND window);
