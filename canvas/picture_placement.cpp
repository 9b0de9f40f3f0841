// Clipping of the template picture to the client area.
#include "canvas/picture_placement.h"

#include "canvas/view_transform.h"

static int Max(int a, int b) {
    return a > b ? a : b;
}
static int Min(int a, int b) {
    return a < b ? a : b;
}

int PlacePicture(int picW, int picH, int viewW, int viewH, PictureCopy* copy) {
    int left = picW / 2 + viewState.originX;  // picture column at client column 0
    int top = picH / 2 + viewState.originY;
    copy->destX = Max(0, -left);
    copy->destY = Max(0, -top);
    copy->srcX = Max(0, left);
    copy->srcY = Max(0, top);
    if (copy->srcX >= picW || copy->srcY >= picH) return 0;
    if (copy->destX >= viewW || copy->destY >= viewH) return 0;
    copy->width = Min(picW - copy->srcX, viewW - copy->destX);
    copy->height = Min(picH - copy->srcY, viewH - copy->destY);
    return 1;
}
