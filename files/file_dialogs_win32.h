// The system's open and save dialogs behind the file commands.
#pragma once

#include "files/file_flows.h"

// A FileDialogProc: GetOpenFileNameW or GetSaveFileNameW (with the hook) as
// the request asks.
int ShowFileDialog(UiWindow owner, const FileDialogRequest* request, FileDialogAnswer* answer);
