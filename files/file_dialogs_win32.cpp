// The system's open and save dialogs, filled in for the frame files. Touches
// nothing but the answer it is given.
#include "files/file_dialogs_win32.h"

#include <windows.h>
// commdlg.h needs the types of windows.h
#include <commdlg.h>

#include <cstring>

#include "files/save_dialog_hook_win32.h"
#include "files/save_name_logic.h"

// The open list has no packed type: index 3 is All Files there.
static const char OPEN_FILTER[] =
    "Csv Files (*.csv)\0*.csv\0"
    "ILDA Files (*.ild)\0*.ild\0"
    "All Files (*.*)\0*.*\0";
static const char SAVE_FILTER[] =
    "Csv Files (*.csv)\0*.csv\0"
    "ILDA Files (*.ild)\0*.ild\0"
    "Packed files (*.frm)\0*.frm\0"
    "All Files (*.*)\0*.*\0";

enum {
    OPEN_FLAGS = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
    SAVE_FLAGS =
        OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
};
static_assert(OPEN_FLAGS == 0x1004 && SAVE_FLAGS == 0x80826, "dialog flags");

int ShowFileDialog(UiWindow owner, const FileDialogRequest* request, FileDialogAnswer* answer) {
    std::memset(answer, 0, sizeof *answer);
    if (request->startName) {
        std::strncpy(answer->path, request->startName, sizeof answer->path - 1);
    }
    bool save = request->kind == FILE_DIALOG_SAVE;
    OPENFILENAMEA block;
    std::memset(&block, 0, sizeof block);
    block.lStructSize = sizeof block;
    block.hwndOwner = (HWND)owner;
    block.lpstrFilter = save ? SAVE_FILTER : OPEN_FILTER;
    block.nFilterIndex = (DWORD)request->filterIndex;
    block.lpstrFile = answer->path;
    block.nMaxFile = sizeof answer->path;
    block.lpstrFileTitle = answer->fileTitle;
    block.nMaxFileTitle = sizeof answer->fileTitle;
    block.lpstrTitle = request->title;
    block.lpstrDefExt = DefaultExtensionAt(request->filterIndex);
    BOOL chosen;
    if (save) {
        block.Flags = SAVE_FLAGS;
        block.lpfnHook = SaveDialogHook;
        chosen = GetSaveFileNameA(&block);
    } else {
        block.Flags = OPEN_FLAGS;
        chosen = GetOpenFileNameA(&block);
    }
    if (!chosen) return 0;
    answer->filterIndex = (int)block.nFilterIndex;
    return 1;
}
