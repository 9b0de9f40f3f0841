// Gesture state machine and button handlers; reaches the model through the
// edit operations and the undo module, the rest of the user interface through
// the UiPort, and the screen through the feedback port.
#include "canvas/gesture.h"

#include "canvas/edit_ops.h"
#include "canvas/feedback_port.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/undo.h"

GestureState gesture = {};

enum { INTERPOLATION_MIN = 1, INTERPOLATION_MAX = 100 };

// No marked point drawn yet: a frame position no point can have.
static const int NO_POSITION = 100000;

void GestureLeftPress(int x, int y, int keys) {
    if (!(keys & KEY_CONTROL)) {
        if (AppendPoint(!(keys & KEY_SHIFT), x, y)) {
            SetDocumentModified(true);
            RefreshStatus(STATUS_PANES);
        } else {
            Beep();
        }
        return;
    }
    gesture.anchorX = x;
    gesture.anchorY = y;
    if (keys & KEY_SHIFT) {
        gesture.gestureFlags = GESTURE_BAND;
        return;
    }
    if (PickForDrag(x, y)) gesture.gestureFlags = GESTURE_DRAG;
}

void GestureMouseMove(int x, int y) {
    if (gesture.gestureFlags == 0) return;
    if (gesture.gestureFlags & GESTURE_BAND)
        DrawBandFeedback(gesture.anchorX, gesture.anchorY, x, y);
    else
        DrawDragFeedback(x - gesture.anchorX, y - gesture.anchorY);
    gesture.gestureFlags |= GESTURE_MOVED;
}

void GestureLeftRelease(int x, int y) {
    int flags = gesture.gestureFlags;
    if (flags == 0) return;
    if (flags == (GESTURE_DRAG | GESTURE_MOVED)) {
        if (MoveMarked(x - gesture.anchorX, y - gesture.anchorY)) {
            RefreshVectorTable(VT_UPDATE_VALUES);
            SetDocumentModified(true);
        } else {
            Beep();
        }
    }
    if (flags & GESTURE_BAND) {
        SelectInBand(gesture.anchorX, gesture.anchorY, x, y);
        RefreshVectorTable(VT_UPDATE_VALUES);
    }
    gesture.gestureFlags = 0;
    RepaintCanvas();
}

void CancelGesture() {
    if (gesture.gestureFlags == 0) return;
    gesture.gestureFlags = 0;
    RepaintCanvas();
}

void GestureRightPress(int x, int y, int keys) {
    if (gesture.gestureFlags != 0) {
        CancelGesture();
        return;
    }
    if (keys & (KEY_SHIFT | KEY_CONTROL)) return;
    if (!TruncateAt(x, y)) return;
    SetDocumentModified(true);
    RefreshStatus(STATUS_PANES);
    RepaintCanvas();
}

void GestureMiddlePress(UiWindow owner, int x, int y, int keys) {
    ValuePromptRequest request = {"Interpolation", "Intermediate points:", false};
    Prompt::value[0] = 0;
    if (workingFrame.count < 1) return;
    if (ValuePrompt(owner, &request) != PROMPT_OK) return;
    int n = ClampInt(ParseLeadingInt(Prompt::value), INTERPOLATION_MIN, INTERPOLATION_MAX);
    if (!InterpolateTo(!(keys & KEY_SHIFT), x, y, n)) {
        Beep();
        return;
    }
    SetDocumentModified(true);
    RefreshStatus(STATUS_PANES);
    RefreshVectorTable(VT_REBUILD);
    RepaintCanvas();
}

void DrawDragFeedback(int dx, int dy) {
    bool erase = (gesture.gestureFlags & GESTURE_MOVED) != 0;
    int lastX = NO_POSITION, lastY = NO_POSITION;
    BeginInversion(INVERT_FILLED_MARKERS);
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        if (!(p.flags & POINT_MARKED)) continue;
        // Two inversions on one spot would cancel each other out.
        if (p.x == lastX && p.y == lastY) continue;
        lastX = p.x;
        lastY = p.y;
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (erase) InvertMarker(x + gesture.dragOffsetX, y + gesture.dragOffsetY);
        InvertMarker(x + dx, y + dy);
    }
    EndInversion();
    gesture.dragOffsetX = dx;
    gesture.dragOffsetY = dy;
}

void DrawBandFeedback(int x1, int y1, int x2, int y2) {
    BeginInversion(INVERT_BAND_OUTLINE);
    if (gesture.gestureFlags & GESTURE_MOVED) {
        const GestureRect& r = gesture.bandRect;
        InvertRectangle(r.left, r.top, r.right, r.bottom);
    }
    InvertRectangle(x1, y1, x2, y2);
    gesture.bandRect = {x1, y1, x2, y2};
    EndInversion();
}

void ResetGesture() {
    gesture = {};
}
