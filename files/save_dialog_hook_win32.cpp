// The save dialog's hook procedure, for the wide dialog. Touches only the
// dialog it runs in.
#include "files/save_dialog_hook_win32.h"

#include <commdlg.h>

#include "files/save_name_logic.h"
#include "formats/utf16_text.h"

// The parameter block of the dialog now showing; it carries the type index.
static OPENFILENAMEW* hookedDialogBlock = nullptr;

// The name box's text is renamed in UTF-8, where the plain rename works; a
// new name that no longer fits the box's buffer is left as it was.
static void RenameForType(HWND dialog, int filterIndex) {
    const char* extension = DefaultExtensionAt(filterIndex);
    wchar_t name[SAVE_NAME_BUFFER] = {};
    wchar_t wideExtension[SAVE_NAME_BUFFER] = {};
    char text[3 * SAVE_NAME_BUFFER];
    LRESULT got = SendMessageW(dialog, CDM_GETSPEC, SAVE_NAME_BUFFER, (LPARAM)name);
    name[SAVE_NAME_BUFFER - 1] = 0;
    if (got > 0 && NarrowText(name, text, sizeof text) >= 0 &&
        RewriteSaveName(text, sizeof text, extension) &&
        WidenText(text, name, SAVE_NAME_BUFFER) >= 0) {
        // Older dialogs have the edit box edt1; newer ones only the combo
        // cmb13, where a text sent to edt1 would go nowhere.
        int box = GetDlgItem(dialog, SAVE_NAME_EDIT_ID) ? SAVE_NAME_EDIT_ID : SAVE_NAME_COMBO_ID;
        SendMessageW(dialog, CDM_SETCONTROLTEXT, box, (LPARAM)name);
    }
    WidenText(extension, wideExtension, SAVE_NAME_BUFFER);
    SendMessageW(dialog, CDM_SETDEFEXT, 0, (LPARAM)wideExtension);
}

static UINT_PTR OnNotify(HWND window, const OFNOTIFYW* notify) {
    if (notify->hdr.code != CDN_TYPECHANGE) return 0;
    const OPENFILENAMEW* block = hookedDialogBlock ? hookedDialogBlock : notify->lpOFN;
    RenameForType(GetParent(window), block ? (int)block->nFilterIndex : 0);
    return 1;
}

UINT_PTR CALLBACK SaveDialogHook(HWND window, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            hookedDialogBlock = (OPENFILENAMEW*)lParam;
            return 1;
        case WM_NOTIFY:
            return OnNotify(window, (const OFNOTIFYW*)lParam);
        case WM_DESTROY:
            hookedDialogBlock = nullptr;
            return 0;
    }
    return 0;
}
