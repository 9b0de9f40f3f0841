// The program's own dialog templates (value prompt, Edit Vector) run modally
// over the whole program, not only over their owner.
#pragma once

#include <windows.h>

// Runs the template with the wide dialog call, so its texts reach the
// controls as written (the katakana of Cancel included). For the dialog's
// lifetime every other visible, enabled top-level window of the program is
// disabled (the owner's top-level window is disabled by the dialog itself)
// and a gesture holding the mouse lets go; exactly those windows are enabled
// again afterwards. Returns what the dialog ended with, or what the dialog
// call returns when the dialog cannot be created.
INT_PTR RunModalDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure,
                       LPARAM parameter);

// True while such a dialog is open: commands that could change the frames or
// points it will act on must not run.
bool ModalDialogOpen();
