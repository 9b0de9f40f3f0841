// Immediate drawing on the canvas between repaints: the appended segment and
// the inverted gesture feedback, through the window's own device context.
#pragma once

#include <windows.h>

// Makes window the canvas that the feedback port draws on: the one whose
// mouse message is being handled.
void DrawFeedbackOn(HWND window);
// Stops drawing on window (it is going away).
void StopFeedbackOn(HWND window);
