// The frame-file commands on the real dialogs: each installs them, with the
// system's check of whether two names are one file, and hands over to the
// plain flows.
#include "files/file_commands_win32.h"

#include "files/file_dialogs_win32.h"
#include "files/same_file_win32.h"

// The system's dialogs, and its own answer to whether two names are one file.
static void UseSystemDialogs() {
    fileDialogProc = ShowFileDialog;
    sameFileProc = SameFileOnVolume;
}

int LoadFrames(HWND owner, const char* path, int insert) {
    UseSystemDialogs();
    return LoadFramesWith(owner, path, insert);
}

int SaveFrames(HWND owner, int flags, int first, int last) {
    UseSystemDialogs();
    return SaveFramesWith(owner, flags, first, last);
}

int OfferToSave(HWND owner, const char* caption) {
    UseSystemDialogs();
    return OfferToSaveChanges(owner, caption);
}

void OpenFramesCommand(HWND mainWindow) {
    UseSystemDialogs();
    OpenFramesFlow(mainWindow);
}

void InsertFramesCommand(HWND mainWindow) {
    UseSystemDialogs();
    InsertFramesFlow(mainWindow);
}

void SaveFramesCommand(HWND mainWindow) {
    UseSystemDialogs();
    SaveFramesFlow(mainWindow);
}

void SaveFramesAsCommand(HWND mainWindow) {
    UseSystemDialogs();
    SaveFramesAsFlow(mainWindow);
}

void WriteSelectionAsCommand(HWND mainWindow) {
    UseSystemDialogs();
    WriteSelectionAsFlow(mainWindow);
}
