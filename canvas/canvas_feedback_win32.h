// Immediate drawing on the canvas between repaints: the appended segment and
// the inverted gesture feedback, through the window's own device context.
#pragma once

#include <windows.h>

// Makes window the canvas that the feedback port draws on.
void InstallCanvasFeedback(HWND window);
// Stops drawing on window (it is going away).
void RemoveCanvasFeedback(HWND window);
