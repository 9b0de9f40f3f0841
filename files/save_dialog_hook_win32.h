// The save dialog's hook: keeps the typed name's extension in step with the
// chosen file type.
#pragma once

#include <windows.h>

enum { SAVE_NAME_EDIT_ID = 1152, SAVE_NAME_COMBO_ID = 1148 };  // edt1, cmb13

UINT_PTR CALLBACK SaveDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
