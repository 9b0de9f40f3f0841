// Every modal step of the program (its own dialog templates, the system's
// file dialogs and message boxes) runs modally over the whole program, not
// only over its owner.
#pragma once

#include <windows.h>

// Around one modal step. For the step's lifetime every other visible,
// enabled top-level window of the program is disabled (the owner's top-level
// window is disabled by the dialog itself) and a gesture holding the mouse
// lets go; the release enables exactly those windows again. ownDialog tells
// the program's prompts and Edit Vector dialog from the system's dialogs and
// message boxes. Steps nest, the last held released first. 0 when too many
// are open already: the step must then not be shown (and not released).
int HoldProgramWindows(HWND owner, bool ownDialog);
void ReleaseProgramWindows();

// Runs the template with the wide dialog call, so its texts reach the
// controls as written (the katakana of Cancel included), between the two
// calls above. Returns what the dialog ended with, or what the dialog call
// returns when the dialog cannot be created (0 when it may not open).
INT_PTR RunModalDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure,
                       LPARAM parameter);

// True while any modal step is open: commands that could change the frames,
// the points, the current frame or the selection must not run.
bool ModalDialogOpen();
// True while a system's dialog or message box is open: then not even a
// prompt that touches neither frames nor points may open beside it, since
// the command that showed it may yet replace or write the document.
bool SystemDialogOpen();
