// The frame-file commands as plain logic. Touches the frame store (through
// its operations), the modified state, the remembered file state and the UI
// port; the dialogs come through fileDialogProc, the check of whether two
// names are one file through sameFileProc.
#include "files/file_flows.h"

#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/undo.h"
#include "files/same_file.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"
#include "formats/packed_file.h"
#include "formats/read_account.h"

FileDialogProc fileDialogProc = nullptr;
SameFileProc sameFileProc = SameFileByIdentity;

// Where the last CSV or ILDA file was written.
static char writtenPath[DOCUMENT_PATH_LENGTH];

static const char* const UNSAVED_CHANGES_TEXT =
    "The changes have not been saved.\nDo you wish to save changes?";
static const char* const NO_WRITER_TEXT =
    "Frames are saved as .csv or .ild files, or exported as .frm files.";
static const char* const SAVING_CAPTION = "Saving Frames";

static int AskForFile(UiWindow owner, int kind, const char* title, const char* startName,
                      FileDialogAnswer* answer) {
    std::memset(answer, 0, sizeof *answer);
    if (!fileDialogProc || !BeginModalStep(owner)) return 0;
    FileDialogRequest request = {kind, title, startName, FilterIndex};
    int chosen = fileDialogProc(owner, &request, answer);
    EndModalStep();
    if (!chosen) return 0;
    answer->path[sizeof answer->path - 1] = 0;
    answer->fileTitle[sizeof answer->fileTitle - 1] = 0;
    return 1;
}

int LoadFramesWith(UiWindow owner, const char* path, int insert) {
    FileDialogAnswer answer;
    bool asked = !path;
    if (asked) {
        if (!AskForFile(owner, FILE_DIALOG_OPEN, insert ? "Insert Frames" : "Open Frames", "",
                        &answer))
            return 0;
        path = answer.path;
    }
    FrameFileKind kind = FrameFileKindOf(path);
    if (kind != FRAME_FILE_CSV && kind != FRAME_FILE_ILDA) return 0;
    // Unstored edits go into the store; that frame then moves up behind
    // the inserted ones.
    if (insert) StoreFrame(frameStore.currentFrame, false);
    int result = kind == FRAME_FILE_CSV ? ReadCsvFrames(owner, path, insert)
                                        : ReadIldaFrames(owner, path, insert);
    if (!result || insert) return result;
    if (asked)
        RememberDocumentFile(answer.filterIndex, answer.path, answer.fileTitle);
    else
        RememberDocumentFile(0, path, FileTitleOf(path));
    DocumentFileIncomplete = ReadLeftDataOut(&lastReadAccount) != 0;
    return 1;
}

int SaveFramesWith(UiWindow owner, int flags, int first, int last) {
    FileDialogAnswer answer;
    std::memset(&answer, 0, sizeof answer);
    if (!(flags & SAVE_SELECTION)) {
        std::snprintf(answer.path, sizeof answer.path, "%s", DocumentPath);
    }
    // A file that was not read whole is replaced only through the dialog.
    if ((flags & SAVE_ASK_NAME) || !answer.path[0] || DocumentFileIncomplete) {
        char startName[DOCUMENT_PATH_LENGTH];
        std::memcpy(startName, answer.path, sizeof startName);
        const char* title = (flags & SAVE_SELECTION) ? "Write Frames" : "Save Frames";
        if (!AskForFile(owner, FILE_DIALOG_SAVE, title, startName, &answer)) return 0;
        flags |= SAVE_ASK_NAME;  // from here on: the dialog was shown
    }
    int result = 0;
    switch (FrameFileKindOf(answer.path)) {
        case FRAME_FILE_CSV:
            result = WriteCsvFrames(owner, answer.path, first, last);
            break;
        case FRAME_FILE_ILDA:
            result = WriteIldaFrames(owner, answer.path, first, last);
            break;
        case FRAME_FILE_PACKED:
            // Export only: never makes the document count as saved.
            WritePackedFrames(owner, answer.path, first, last);
            return 0;
        default:
            // "show." as left by All Files, "a.txt", a name too short for
            // an ending: the dialog closed, so say why nothing was written.
            ShowWarning(owner, NO_WRITER_TEXT, SAVING_CAPTION);
            return 0;
    }
    if (result) std::memcpy(writtenPath, answer.path, sizeof writtenPath);
    if (result && flags == SAVE_ASK_NAME)
        RememberDocumentFile(answer.filterIndex, answer.path, answer.fileTitle);
    return result;
}

int OfferToSaveChanges(UiWindow owner, const char* caption) {
    if (!documentModified) return 1;
    int answer = AskYesNoCancel(owner, UNSAVED_CHANGES_TEXT, caption);
    if (answer == ANSWER_NO) return 1;
    if (answer != ANSWER_YES) return 0;
    return SaveFramesWith(owner, 0, 0, frameStore.numFrames - 1);
}

void OpenFramesFlow(UiWindow owner) {
    StoreWorkingFrameForFiles();
    if (!OfferToSaveChanges(owner, "Open Frame")) return;
    if (!LoadFramesWith(owner, nullptr, 0)) return;
    SetDocumentModified(false);
    RepaintCanvas();
    RefreshStatus(STATUS_TITLE | STATUS_PANES);
    RefreshFrameTable(FT_REBUILD);
    RefreshVectorTable(VT_REBUILD);
}

void InsertFramesFlow(UiWindow owner) {
    if (!LoadFramesWith(owner, nullptr, 1)) return;
    SetDocumentModified(true);
    RepaintCanvas();
    RefreshStatus(STATUS_PANES);
    RefreshFrameTable(FT_REBUILD);
    RefreshVectorTable(VT_REBUILD);
}

void StoreWorkingFrameForFiles() {
    const int32_t frames = frameStore.numFrames;
    StoreFrame(frameStore.currentFrame, false);
    // A frame drawn past the end joins the document here, with the blank
    // frames before it: the frame count shown must follow.
    if (frameStore.numFrames != frames) RefreshStatus(STATUS_PANES);
}

void SaveFramesFlow(UiWindow owner) {
    StoreWorkingFrameForFiles();
    if (SaveFramesWith(owner, 0, 0, frameStore.numFrames - 1)) SetDocumentModified(false);
    RefreshStatus(STATUS_TITLE);
}

void SaveFramesAsFlow(UiWindow owner) {
    StoreWorkingFrameForFiles();
    if (!SaveFramesWith(owner, SAVE_ASK_NAME, 0, frameStore.numFrames - 1)) return;
    SetDocumentModified(false);
    RefreshStatus(STATUS_TITLE);
}

void WriteSelectionAsFlow(UiWindow owner) {
    int first = 0, last = 0;
    if (!SelectedFrameRange(&first, &last) || first < 0 || last < first) {
        first = last = frameStore.currentFrame;
    }
    StoreWorkingFrameForFiles();
    // The title stays as it is, whatever happens.
    if (!SaveFramesWith(owner, SAVE_SELECTION, first, last)) return;
    // Asked after writing: a name that only shared the file through a hard
    // link got a new file and left the document's file as it was.
    if (!DocumentPath[0] || !sameFileProc || !sameFileProc(writtenPath, DocumentPath)) return;
    // The working frame was stored just now and is no different from the
    // store; flagging it would add a blank frame past the end on the next
    // move.
    bool changed = workingFrame.changed;
    SetDocumentModified(true);
    workingFrame.changed = changed;
}
