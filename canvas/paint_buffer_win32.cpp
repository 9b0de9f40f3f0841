// The canvas's off-screen bitmap: one DIB section and the memory DC holding
// it, static between paints.
#include "canvas/paint_buffer_win32.h"

static HDC bufferDc = nullptr;
static HBITMAP bufferBitmap = nullptr;
static HGDIOBJ firstBitmap = nullptr;  // the memory DC's own, put back before deleting ours
static void* bufferBits = nullptr;
static int bufferWidth = 0, bufferHeight = 0;

void ReleasePaintBuffer() {
    if (bufferDc && firstBitmap) SelectObject(bufferDc, firstBitmap);
    if (bufferBitmap) DeleteObject(bufferBitmap);
    if (bufferDc) DeleteDC(bufferDc);
    bufferDc = nullptr;
    bufferBitmap = nullptr;
    firstBitmap = nullptr;
    bufferBits = nullptr;
    bufferWidth = bufferHeight = 0;
}

static bool MakeBuffer(int width, int height) {
    ReleasePaintBuffer();
    bufferDc = CreateCompatibleDC(nullptr);
    if (!bufferDc) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bufferBitmap = CreateDIBSection(bufferDc, &info, DIB_RGB_COLORS, &bufferBits, nullptr, 0);
    if (!bufferBitmap || !bufferBits) {
        ReleasePaintBuffer();
        return false;
    }
    firstBitmap = SelectObject(bufferDc, bufferBitmap);
    bufferWidth = width;
    bufferHeight = height;
    return true;
}

bool OpenPaintBuffer(int width, int height, PaintBuffer* buffer) {
    if (width <= 0 || height <= 0) return false;
    if ((width != bufferWidth || height != bufferHeight || !bufferDc) && !MakeBuffer(width, height))
        return false;
    buffer->dc = bufferDc;
    buffer->pixels = {(uint32_t*)bufferBits, bufferWidth, bufferHeight};
    return true;
}

uint32_t BufferColour(COLORREF colour) {
    return (uint32_t)(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
}
