// The store-and-prompt that guards leaving the program with unsaved changes.
#pragma once

#include <windows.h>

// Stores the working frame; when the document is modified asks whether to
// save ("Exit Program"). 1 when the program may go (saved, or No), 0 when
// it must stay (Cancel, or the save did not happen, or a modal step is
// open).
int ConfirmLeaving(HWND mainWindow);
