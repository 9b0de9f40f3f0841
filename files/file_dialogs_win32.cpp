// The system's open and save dialogs, filled in for the frame files, in
// their wide form so that a name in any script comes back whole. Touches
// nothing but the answer it is given, and the message for a name too long.
#include "files/file_dialogs_win32.h"

#include <windows.h>
// commdlg.h needs the types of windows.h
#include <commdlg.h>
// FNERR_ codes
#include <cderr.h>

#include <cstring>

#include "files/save_dialog_hook_win32.h"
#include "files/save_name_logic.h"
#include "formats/path_files.h"
#include "formats/utf16_text.h"

// The open list has no packed type: index 3 is All Files there.
static const wchar_t OPEN_FILTER[] =
    L"Csv Files (*.csv)\0*.csv\0"
    L"ILDA Files (*.ild)\0*.ild\0"
    L"All Files (*.*)\0*.*\0";
static const wchar_t SAVE_FILTER[] =
    L"Csv Files (*.csv)\0*.csv\0"
    L"ILDA Files (*.ild)\0*.ild\0"
    L"Packed files (*.frm)\0*.frm\0"
    L"All Files (*.*)\0*.*\0";

enum {
    OPEN_FLAGS = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
    SAVE_FLAGS =
        OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
};
static_assert(OPEN_FLAGS == 0x1004 && SAVE_FLAGS == 0x80826, "dialog flags");

enum { DIALOG_TEXT_CHARS = 64 };

int ShowFileDialog(UiWindow owner, const FileDialogRequest* request, FileDialogAnswer* answer) {
    std::memset(answer, 0, sizeof *answer);
    wchar_t path[DOCUMENT_PATH_CHARS], fileTitle[DOCUMENT_TITLE_CHARS];
    wchar_t title[DIALOG_TEXT_CHARS], extension[DIALOG_TEXT_CHARS];
    // A start name that does not fit starts the dialog empty rather than cut.
    if (!request->startName || WidenText(request->startName, path, DOCUMENT_PATH_CHARS) < 0)
        path[0] = 0;
    fileTitle[0] = 0;
    WidenText(request->title ? request->title : "", title, DIALOG_TEXT_CHARS);
    WidenText(DefaultExtensionAt(request->filterIndex), extension, DIALOG_TEXT_CHARS);
    bool save = request->kind == FILE_DIALOG_SAVE;
    OPENFILENAMEW block;
    std::memset(&block, 0, sizeof block);
    block.lStructSize = sizeof block;
    block.hwndOwner = (HWND)owner;
    block.lpstrFilter = save ? SAVE_FILTER : OPEN_FILTER;
    block.nFilterIndex = (DWORD)request->filterIndex;
    block.lpstrFile = path;
    block.nMaxFile = DOCUMENT_PATH_CHARS;
    block.lpstrFileTitle = fileTitle;
    block.nMaxFileTitle = DOCUMENT_TITLE_CHARS;
    block.lpstrTitle = title;
    block.lpstrDefExt = extension;
    BOOL chosen;
    if (save) {
        block.Flags = SAVE_FLAGS;
        block.lpfnHook = SaveDialogHook;
        chosen = GetSaveFileNameW(&block);
    } else {
        block.Flags = OPEN_FLAGS;
        chosen = GetOpenFileNameW(&block);
    }
    // A name longer than the dialog can hold is said so, never cut.
    bool tooLong = !chosen && CommDlgExtendedError() == FNERR_BUFFERTOOSMALL;
    if (chosen && (NarrowText(path, answer->path, sizeof answer->path) < 0 ||
                   NarrowText(fileTitle, answer->fileTitle, sizeof answer->fileTitle) < 0))
        tooLong = true;
    if (tooLong) {
        ShowWarning(owner, PATH_TOO_LONG_TEXT, save ? "Saving Frames" : "Loading Frames");
        return 0;
    }
    if (!chosen) return 0;
    answer->filterIndex = (int)block.nFilterIndex;
    return 1;
}
