// Loading, dimming and releasing the template picture. Touches only the
// picture state and the Clear Picture menu item; its dialog and message run
// as modal steps through the UI port.
#include "canvas/template_picture_win32.h"

#include <commdlg.h>
// FNERR_ codes
#include <cderr.h>

#include <cstdint>
#include <cstdlib>

#include "canvas/picture_dimming.h"
#include "document/command_ids.h"
#include "document/ui_port.h"
#include "formats/path_files.h"
#include "formats/utf16_text.h"

TemplatePicture templatePicture = {nullptr, 0, 0};

// The wide dialog, so that a picture named in any script comes back whole.
// A name longer than the buffer is said so, never cut.
static int AskForPicturePath(HWND owner, wchar_t* path, DWORD size) {
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Image Files (*.bmp)\0*.bmp\0All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = size;
    dialog.lpstrTitle = L"Load Template Image";
    dialog.lpstrDefExt = L"bmp";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!BeginModalStep((UiWindow)owner)) return 0;
    BOOL chosen = GetOpenFileNameW(&dialog);
    EndModalStep();
    if (chosen) return 1;
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        ShowWarning((UiWindow)owner, PATH_TOO_LONG_TEXT, "Load Image");
    return 0;
}

// Reads the loaded bitmap as 24-bit pixels, divides every byte by three and
// writes them into a new bitmap compatible with the display: written back
// into the loaded one, a black-and-white picture (a monochrome bitmap) would
// turn all black. Returns the dimmed bitmap and releases the loaded one; keeps
// the loaded one undimmed when the work buffer or the new bitmap cannot be had.
static HBITMAP DimmedPicture(HWND owner, HBITMAP loaded, int width, int height) {
    size_t bytes = DibImageBytes(width, height);
    if (bytes == 0) return loaded;
    uint8_t* buffer = (uint8_t*)std::malloc(bytes);
    if (!buffer) return loaded;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(owner);
    HBITMAP dimmed = CreateCompatibleBitmap(dc, width, height);
    bool read = dimmed && GetDIBits(dc, loaded, 0, (UINT)height, buffer, &info, DIB_RGB_COLORS) > 0;
    if (read) {
        DimToOneThird(buffer, bytes);
        SetDIBits(dc, dimmed, 0, (UINT)height, buffer, &info, DIB_RGB_COLORS);
    }
    ReleaseDC(owner, dc);
    std::free(buffer);
    if (!read) {
        if (dimmed) DeleteObject(dimmed);
        return loaded;
    }
    DeleteObject(loaded);
    return dimmed;
}

int LoadTemplatePicture(HWND owner, const char* path) {
    wchar_t widePath[MAX_PATH] = L"";
    if (!path) {
        if (!AskForPicturePath(owner, widePath, MAX_PATH)) return 0;
    } else if (WidenText(path, widePath, MAX_PATH) < 0) {
        widePath[0] = 0;  // no such file: the load fails with its message
    }
    HBITMAP bitmap = (HBITMAP)LoadImageW(nullptr, widePath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!bitmap) {
        ShowWarning((UiWindow)owner, "Loading Failed.", "Load Image");
        return 0;
    }
    if (templatePicture.pictureBitmap) DeleteObject(templatePicture.pictureBitmap);
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    templatePicture.pictureBitmap = DimmedPicture(owner, bitmap, info.bmWidth, info.bmHeight);
    templatePicture.pictureWidth = info.bmWidth;
    templatePicture.pictureHeight = info.bmHeight;
    EnableCommand(CMD_CLEAR_PICTURE, true);
    return 1;
}

void ClearTemplatePicture() {
    if (templatePicture.pictureBitmap) DeleteObject(templatePicture.pictureBitmap);
    templatePicture.pictureBitmap = nullptr;
    EnableCommand(CMD_CLEAR_PICTURE, false);
}
