// A dialog that acts on a frame or on points must find them as they were when
// it opened, so while it is open the rest of the program takes no input: the
// other top-level windows are disabled, and a count of open dialogs lets
// command handlers refuse what still arrives.
#include "tables/modal_dialog_win32.h"

enum { GUARDED_WINDOWS = 32 };

static int openDialogs = 0;

struct DisabledWindows {
    HWND keep;  // the owner's top-level window: the dialog disables and enables it itself
    HWND windows[GUARDED_WINDOWS];
    int count;
};

static BOOL CALLBACK DisableWindow(HWND window, LPARAM lParam) {
    DisabledWindows* disabled = (DisabledWindows*)lParam;
    if (window == disabled->keep || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    if (disabled->count >= GUARDED_WINDOWS) return FALSE;
    EnableWindow(window, FALSE);
    disabled->windows[disabled->count++] = window;
    return TRUE;
}

INT_PTR RunModalDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure,
                       LPARAM parameter) {
    DisabledWindows disabled = {};
    disabled.keep = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    ReleaseCapture();
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, (LPARAM)&disabled);
    ++openDialogs;
    INT_PTR result =
        DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, procedure, parameter);
    --openDialogs;
    for (int i = disabled.count - 1; i >= 0; --i) {
        if (IsWindow(disabled.windows[i])) EnableWindow(disabled.windows[i], TRUE);
    }
    return result;
}

bool ModalDialogOpen() {
    return openDialogs > 0;
}
