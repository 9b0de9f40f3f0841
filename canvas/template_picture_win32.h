// The template picture traced over on the canvas: a bitmap file, dimmed to a
// third of its brightness when it is loaded.
#pragma once

#include <windows.h>

struct TemplatePicture {
    HBITMAP pictureBitmap;  // null when no picture is loaded
    int pictureWidth;
    int pictureHeight;
};

extern TemplatePicture templatePicture;

// Asks for a file when path is null. Returns 1 when a picture was loaded.
int LoadTemplatePicture(HWND owner, const char* path);

// Releases the picture and grays Clear Picture.
void ClearTemplatePicture();
