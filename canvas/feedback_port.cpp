// Forwarders to whichever feedback drawing is installed.
#include "canvas/feedback_port.h"

FeedbackPort feedbackPort = {};

void DrawAppendedSegment(bool visible, bool hasFrom, int fromX, int fromY, int toX, int toY) {
    if (feedbackPort.appendedSegment)
        feedbackPort.appendedSegment(visible, hasFrom, fromX, fromY, toX, toY);
}
void BeginInversion(int kind) {
    if (feedbackPort.beginInversion) feedbackPort.beginInversion(kind);
}
void InvertMarker(int x, int y) {
    if (feedbackPort.invertMarker) feedbackPort.invertMarker(x, y);
}
void InvertRectangle(int left, int top, int right, int bottom) {
    if (feedbackPort.invertRectangle) feedbackPort.invertRectangle(left, top, right, bottom);
}
void EndInversion() {
    if (feedbackPort.endInversion) feedbackPort.endInversion();
}
