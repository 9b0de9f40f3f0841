// The texts of the window title and of status panes 0 to 2, built from
// plain values so they can be checked without windows.
#pragma once

#include <cstddef>
#include <cstdint>

// The title holds a file title of up to 255 characters in UTF-8.
enum { STATUS_TEXT_LENGTH = 64, TITLE_TEXT_LENGTH = 800 };

extern const char* const ProductName;

// " %d points,  %-1.1ffps/%dpps", or "No point" below one point.
void FormatPointPane(int32_t pointCount, int32_t scanSpeed, char* text, size_t size);
// "Frame: %d/%d" with the 1-based current frame and the frame count.
void FormatFramePane(int32_t currentFrame, int32_t numFrames, char* text, size_t size);
// "Zoom: 1/%d" with 2 to the zoom shift.
void FormatZoomPane(int zoomShift, char* text, size_t size);
// The file title, " - " when it is not empty, and the product name.
void FormatTitle(const char* fileTitle, char* text, size_t size);
