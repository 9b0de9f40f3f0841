// A modal step acts on the document as it was when it opened, and the
// command that showed it goes on from there when it closes, so while it is
// open the rest of the program takes no input: the other top-level windows
// are disabled, and a count of open steps lets handlers refuse what still
// arrives.
#include "tables/modal_dialog_win32.h"

enum { GUARDED_WINDOWS = 32, NESTED_STEPS = 8 };

struct HeldWindows {
    HWND keep;  // the owner's top-level window: the dialog disables and enables it itself
    HWND windows[GUARDED_WINDOWS];
    int count;
    bool ownDialog;
};

static HeldWindows steps[NESTED_STEPS];
static int openSteps = 0;
static int openSystemDialogs = 0;

static BOOL CALLBACK DisableWindow(HWND window, LPARAM lParam) {
    HeldWindows* held = (HeldWindows*)lParam;
    if (window == held->keep || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    if (held->count >= GUARDED_WINDOWS) return FALSE;
    EnableWindow(window, FALSE);
    held->windows[held->count++] = window;
    return TRUE;
}

int HoldProgramWindows(HWND owner, bool ownDialog) {
    if (openSteps >= NESTED_STEPS) return 0;
    HeldWindows* held = &steps[openSteps++];
    held->keep = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    held->count = 0;
    held->ownDialog = ownDialog;
    if (!ownDialog) ++openSystemDialogs;
    ReleaseCapture();
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, (LPARAM)held);
    return 1;
}

void ReleaseProgramWindows() {
    if (openSteps <= 0) return;
    HeldWindows* held = &steps[--openSteps];
    if (!held->ownDialog) --openSystemDialogs;
    for (int i = held->count - 1; i >= 0; --i) {
        if (IsWindow(held->windows[i])) EnableWindow(held->windows[i], TRUE);
    }
}

INT_PTR RunModalDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure,
                       LPARAM parameter) {
    if (!HoldProgramWindows(owner, true)) return 0;
    INT_PTR result =
        DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, procedure, parameter);
    ReleaseProgramWindows();
    return result;
}

bool ModalDialogOpen() {
    return openSteps > 0;
}

bool SystemDialogOpen() {
    return openSystemDialogs > 0;
}
