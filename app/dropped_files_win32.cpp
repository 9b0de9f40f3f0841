// Only the first dropped file counts. Its path is taken whole: a path longer
// than the program can hold is ignored rather than cut, since a cut path
// could name a different, existing file.
#include "app/dropped_files_win32.h"

#include <shellapi.h>

#include <cstring>

#include "canvas/template_picture_win32.h"
#include "canvas/view_transform.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "files/document_file.h"
#include "files/file_commands_win32.h"
#include "tables/modal_dialog_win32.h"

static bool EndsWithBmp(const char* path) {
    size_t length = std::strlen(path);
    return length >= 4 && lstrcmpiA(path + length - 4, ".BMP") == 0;
}

static void TakeDroppedPath(HWND mainWindow, const char* path) {
    if (LoadFrames(mainWindow, path, 1)) {
        SetDocumentModified(true);
        RepaintCanvas();
        RefreshStatus(STATUS_PANES);
        RefreshVectorTable(VT_REBUILD);
        RefreshFrameTable(FT_REBUILD);
        return;
    }
    if (EndsWithBmp(path) && LoadTemplatePicture(mainWindow, path)) {
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
    char path[DOCUMENT_PATH_LENGTH];
    UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    if (length > 0 && length < sizeof path &&
        DragQueryFileA(drop, 0, path, sizeof path) == length) {
        TakeDroppedPath(mainWindow, path);
    }
    DragFinish(drop);
}
