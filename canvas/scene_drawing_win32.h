// The canvas scene drawn on a device context: the background, the picture,
// the frame box and the axes with GDI, and the frame's lines and markers
// either with GDI too or, given the DC's bitmap's pixels, written straight
// into them. Drawing objects live from the start to the finish of one scene.
#pragma once

#include <windows.h>

#include "canvas/canvas_scene.h"
#include "canvas/pixel_drawing.h"

// Makes *output draw on dc, whose client area is width x height. pixels,
// when not null, are the pixels of the bitmap selected into dc.
void StartSceneDrawing(HDC dc, int width, int height, const PixelBuffer* pixels,
                       SceneOutput* output);
// Draws what still waits and gives the DC its own pen and brush back.
void FinishSceneDrawing();
