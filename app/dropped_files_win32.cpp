// Only the first dropped file counts. Its path is taken whole, in UTF-16 and
// so in any script: a path longer than the program can hold is refused with
// a message rather than cut, since a cut path could name a different,
// existing file.
#include "app/dropped_files_win32.h"

#include <shellapi.h>

#include "canvas/template_picture_win32.h"
#include "canvas/view_transform.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "files/document_file.h"
#include "files/file_commands_win32.h"
#include "formats/path_files.h"
#include "formats/utf16_text.h"
#include "tables/modal_dialog_win32.h"

static void TakeDroppedPath(HWND mainWindow, const char* path) {
    if (LoadFrames(mainWindow, path, 1)) {
        SetDocumentModified(true);
        RepaintCanvas();
        RefreshStatus(STATUS_PANES);
        RefreshVectorTable(VT_REBUILD);
        RefreshFrameTable(FT_REBUILD);
        return;
    }
    if (HasFileEnding(path, ".BMP") && LoadTemplatePicture(mainWindow, path)) {
        RequestRecenter();
        RepaintCanvas();
    }
}

void HandleDroppedFiles(HWND mainWindow, HDROP drop) {
    // A drop onto the program while a modal step is open is let fall, as on
    // any disabled window.
    if (ModalDialogOpen()) {
        DragFinish(drop);
        return;
    }
    SetForegroundWindow(mainWindow);
    wchar_t widePath[DOCUMENT_PATH_CHARS];
    char path[DOCUMENT_PATH_LENGTH];
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length >= DOCUMENT_PATH_CHARS) {
        ShowWarning(mainWindow, PATH_TOO_LONG_TEXT, "Loading Frames");
    } else if (length > 0 && DragQueryFileW(drop, 0, widePath, DOCUMENT_PATH_CHARS) == length &&
               NarrowText(widePath, path, sizeof path) >= 0) {
        TakeDroppedPath(mainWindow, path);
    }
    DragFinish(drop);
}
