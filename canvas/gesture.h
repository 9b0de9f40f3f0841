// The canvas's mouse handling as plain procedures: the gesture state machine
// (drag of picked points, rubber-band selection), the edits each button
// starts, and the inverted feedback drawn while a gesture moves. Positions
// are client pixels; keys are the mouse message's modifier flags.
#pragma once

#include "document/ui_port.h"

enum { GESTURE_DRAG = 1, GESTURE_BAND = 2, GESTURE_MOVED = 4 };
enum { KEY_SHIFT = 4, KEY_CONTROL = 8 };  // MK_SHIFT, MK_CONTROL

struct GestureRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct GestureState {
    int gestureFlags;  // 0, 1, 2, 5 or 6
    int anchorX;
    int anchorY;
    int dragOffsetX;
    int dragOffsetY;
    GestureRect bandRect;
};

extern GestureState gesture;

void GestureLeftPress(int x, int y, int keys);
// Feedback only; the caller shows the cursor readout afterwards.
void GestureMouseMove(int x, int y);
void GestureLeftRelease(int x, int y);
void GestureRightPress(int x, int y, int keys);
// Ends a gesture without changing any point, as a right click during it does.
void CancelGesture();
// Interpolation through the value prompt, owned by owner.
void GestureMiddlePress(UiWindow owner, int x, int y, int keys);

void DrawDragFeedback(int dx, int dy);
void DrawBandFeedback(int x1, int y1, int x2, int y2);

void ResetGesture();
