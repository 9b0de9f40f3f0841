// Loading, dimming and releasing the template picture. Touches only the
// picture state and the Clear Picture menu item.
#include "canvas/template_picture_win32.h"

#include <commdlg.h>

#include <cstdint>
#include <cstdlib>

#include "canvas/picture_dimming.h"
#include "document/command_ids.h"
#include "document/ui_port.h"

TemplatePicture templatePicture = {nullptr, 0, 0};

static int AskForPicturePath(HWND owner, char* path, DWORD size) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "Image Files (*.bmp)\0*.bmp\0All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = size;
    dialog.lpstrTitle = "Load Template Image";
    dialog.lpstrDefExt = "bmp";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&dialog) ? 1 : 0;
}

// Reads the bitmap as 24-bit pixels, divides every byte by three and writes
// it back. Without memory for the work buffer the picture stays undimmed.
static void DimBitmap(HWND owner, HBITMAP bitmap, int width, int height) {
    size_t bytes = DibImageBytes(width, height);
    if (bytes == 0) return;
    uint8_t* buffer = (uint8_t*)std::malloc(bytes);
    if (!buffer) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(owner);
    if (GetDIBits(dc, bitmap, 0, (UINT)height, buffer, &info, DIB_RGB_COLORS) > 0) {
        DimToOneThird(buffer, bytes);
        SetDIBits(dc, bitmap, 0, (UINT)height, buffer, &info, DIB_RGB_COLORS);
    }
    ReleaseDC(owner, dc);
    std::free(buffer);
}

int LoadTemplatePicture(HWND owner, const char* path) {
    char chosen[MAX_PATH] = "";
    if (!path) {
        if (!AskForPicturePath(owner, chosen, sizeof chosen)) return 0;
        path = chosen;
    }
    HBITMAP bitmap = (HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!bitmap) {
        MessageBoxA(owner, "Loading Failed.", "Load Image", MB_OK | MB_ICONWARNING);
        return 0;
    }
    if (templatePicture.pictureBitmap) DeleteObject(templatePicture.pictureBitmap);
    templatePicture.pictureBitmap = bitmap;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    templatePicture.pictureWidth = info.bmWidth;
    templatePicture.pictureHeight = info.bmHeight;
    DimBitmap(owner, bitmap, info.bmWidth, info.bmHeight);
    EnableCommand(CMD_CLEAR_PICTURE, true);
    return 1;
}

void ClearTemplatePicture() {
    if (templatePicture.pictureBitmap) DeleteObject(templatePicture.pictureBitmap);
    templatePicture.pictureBitmap = nullptr;
    EnableCommand(CMD_CLEAR_PICTURE, false);
}
