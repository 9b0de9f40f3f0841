// The save dialog's hook procedure. Touches only the dialog it runs in.
#include "files/save_dialog_hook_win32.h"

#include <commdlg.h>

#include "files/save_name_logic.h"

// The parameter block of the dialog now showing; it carries the type index.
static OPENFILENAMEA* hookedDialogBlock = nullptr;

static void RenameForType(HWND dialog, int filterIndex) {
    const char* extension = DefaultExtensionAt(filterIndex);
    char name[SAVE_NAME_BUFFER] = {};
    LRESULT got = SendMessageA(dialog, CDM_GETSPEC, SAVE_NAME_BUFFER, (LPARAM)name);
    name[SAVE_NAME_BUFFER - 1] = 0;
    if (got > 0 && RewriteSaveName(name, SAVE_NAME_BUFFER, extension)) {
        // Older dialogs have the edit box edt1; newer ones only the combo
        // cmb13, where a text sent to edt1 would go nowhere.
        int box = GetDlgItem(dialog, SAVE_NAME_EDIT_ID) ? SAVE_NAME_EDIT_ID : SAVE_NAME_COMBO_ID;
        SendMessageA(dialog, CDM_SETCONTROLTEXT, box, (LPARAM)name);
    }
    SendMessageA(dialog, CDM_SETDEFEXT, 0, (LPARAM)extension);
}

static UINT_PTR OnNotify(HWND window, const OFNOTIFYA* notify) {
    if (notify->hdr.code != CDN_TYPECHANGE) return 0;
    const OPENFILENAMEA* block = hookedDialogBlock ? hookedDialogBlock : notify->lpOFN;
    RenameForType(GetParent(window), block ? (int)block->nFilterIndex : 0);
    return 1;
}

UINT_PTR CALLBACK SaveDialogHook(HWND window, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            hookedDialogBlock = (OPENFILENAMEA*)lParam;
            return 1;
        case WM_NOTIFY:
            return OnNotify(window, (const OFNOTIFYA*)lParam);
        case WM_DESTROY:
            hookedDialogBlock = nullptr;
            return 0;
    }
    return 0;
}
