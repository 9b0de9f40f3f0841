// Title and status pane texts; no window is touched here.
#include "app/status_text.h"

#include <cstdio>

const char* const ProductName = "Quillon";

void FormatPointPane(int32_t pointCount, int32_t scanSpeed, char* text, size_t size) {
    if (pointCount < 1) {
        std::snprintf(text, size, "No point");
        return;
    }
    std::snprintf(text, size, " %d points,  %-1.1ffps/%dpps", (int)pointCount,
                  (double)scanSpeed / (double)pointCount, (int)scanSpeed);
}

void FormatFramePane(int32_t currentFrame, int32_t numFrames, char* text, size_t size) {
    std::snprintf(text, size, "Frame: %d/%d", (int)currentFrame + 1, (int)numFrames);
}

void FormatZoomPane(int zoomShift, char* text, size_t size) {
    // Shifts outside the view's range would be undefined; show them as 1/1.
    int divisor = (zoomShift >= 0 && zoomShift < 31) ? 1 << zoomShift : 1;
    std::snprintf(text, size, "Zoom: 1/%d", divisor);
}

void FormatTitle(const char* fileTitle, char* text, size_t size) {
    const char* name = fileTitle ? fileTitle : "";
    std::snprintf(text, size, "%s%s%s", name, name[0] ? " - " : "", ProductName);
}
