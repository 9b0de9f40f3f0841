// The frame-file commands as plain logic: choosing a file through whatever
// file dialog is installed, dispatch to the readers and writers by the
// name's ending, the remembered file state and each command's follow-up.
#pragma once

#include "document/ui_port.h"
#include "files/document_file.h"

enum { SAVE_ASK_NAME = 1, SAVE_SELECTION = 2 };

enum { FILE_DIALOG_OPEN = 0, FILE_DIALOG_SAVE = 1 };

struct FileDialogRequest {
    int kind;               // FILE_DIALOG_OPEN or FILE_DIALOG_SAVE
    const char* title;      // dialog caption
    const char* startName;  // initial file name, "" for none
    int filterIndex;        // file type selected when the dialog opens
};

struct FileDialogAnswer {
    char path[DOCUMENT_PATH_LENGTH];
    char fileTitle[DOCUMENT_TITLE_LENGTH];
    int filterIndex;  // type in use when the dialog closed
};

// Shows a file dialog; 1 with the answer filled in when a name was chosen,
// 0 when cancelled. The Win32 layer installs the real dialogs; tests
// install their own. Null counts as cancelled.
typedef int (*FileDialogProc)(UiWindow owner, const FileDialogRequest* request,
                              FileDialogAnswer* answer);
extern FileDialogProc fileDialogProc;

// Tells whether two names lead to one existing file (1) or not (0). The
// Win32 layer installs the system's own answer; the default asks the C
// library.
typedef int (*SameFileProc)(const char* a, const char* b);
extern SameFileProc sameFileProc;

// With no path, asks for a file ("Open Frames" or "Insert Frames"). Returns
// the reader's result, or 0 for a cancelled dialog or a name without reader.
int LoadFramesWith(UiWindow owner, const char* path, int insert);

// Writes frames first to last to the remembered path, or to a name asked for
// ("Save Frames", or "Write Frames" in selection mode). 1 only when a CSV or
// ILDA file was written; a packed export always gives 0.
int SaveFramesWith(UiWindow owner, int flags, int first, int last);

// The five File menu commands.
void OpenFramesFlow(UiWindow owner);
void InsertFramesFlow(UiWindow owner);
void SaveFramesFlow(UiWindow owner);
void SaveFramesAsFlow(UiWindow owner);
// Leaves the modified state alone, unless the frames went over the document's
// own file: that file then no longer holds the document, which counts as
// modified.
void WriteSelectionAsFlow(UiWindow owner);

// Stores the working frame before a file is written or replaced (unchanged
// frames are not stored); refreshes the status panes when that added frames.
void StoreWorkingFrameForFiles();

// The question asked before unsaved changes would be lost, used by Open
// Frames ("Open Frame") and by exit ("Exit Program"). Yes saves the whole
// document. Returns 1 when the caller may go on, 0 when it must stop.
int OfferToSaveChanges(UiWindow owner, const char* caption);
