// Drawing that mouse editing puts straight onto the canvas between repaints:
// the segment of an appended point and the inverted gesture feedback. The
// Win32 canvas installs the real drawing; native tests install a recorder;
// a null entry draws nothing.
#pragma once

enum { INVERT_FILLED_MARKERS = 0, INVERT_BAND_OUTLINE = 1 };

struct FeedbackPort {
    // Line from (fromX, fromY) when hasFrom, then the outlined marker at (toX, toY),
    // green for a visible point, blue for a blanked one.
    void (*appendedSegment)(bool visible, bool hasFrom, int fromX, int fromY, int toX, int toY);
    // Inversion strokes happen between begin and end; kind says what is drawn.
    void (*beginInversion)(int kind);
    void (*invertMarker)(int x, int y);
    void (*invertRectangle)(int left, int top, int right, int bottom);
    void (*endInversion)();
};

extern FeedbackPort feedbackPort;

void DrawAppendedSegment(bool visible, bool hasFrom, int fromX, int fromY, int toX, int toY);
void BeginInversion(int kind);
void InvertMarker(int x, int y);
void InvertRectangle(int left, int top, int right, int bottom);
void EndInversion();
