// Measuring frames and scaling their points about the origin, and the two
// resize commands built on it.
#pragma once

#include <cstdint>

#include "document/ui_port.h"

// Twice the largest |x| or |y| of the used points of frames first..last.
int32_t MeasureFrames(int first, int last);

// 1..99: percentage; 100..65535: absolute size; anything else refused (0).
int RescaleFrames(int32_t value, int first, int last);

void ResizeCurrentFrameCommand(UiWindow owner);    // 40013
void ResizeSelectedFramesCommand(UiWindow owner);  // 40031, owner: the Frame Table
