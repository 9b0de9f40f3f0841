// Where the template picture lands on the canvas: one picture pixel per
// client pixel, its centre pixel on frame point (0, 0), clipped to the view.
#pragma once

struct PictureCopy {
    int destX;
    int destY;
    int srcX;
    int srcY;
    int width;
    int height;
};

// 1 with the part of a picW x picH picture that overlaps a viewW x viewH
// client area at the current origin; 0 when nothing of it shows.
int PlacePicture(int picW, int picH, int viewW, int viewH, PictureCopy* copy);
