// The value prompt's dialog procedure: fills in the request, places the
// dialog at the pointer and reads the field back on OK. It never parses.
#include "app/value_prompt_win32.h"

#include "resources/resource_ids.h"
#include "tables/modal_dialog_win32.h"

enum { POINTER_OFFSET = 32 };

// Each open prompt keeps its own request; a second one may open over it.
static const ValuePromptRequest* RequestOf(HWND dialog) {
    return (const ValuePromptRequest*)GetWindowLongPtrA(dialog, DWLP_USER);
}

static int UsedField(const ValuePromptRequest* request) {
    return request->textField ? IDC_PROMPT_TEXT_FIELD : IDC_PROMPT_NUMBER_FIELD;
}

static void PlaceAtPointer(HWND dialog) {
    RECT rect;
    POINT pointer;
    if (!GetWindowRect(dialog, &rect) || !GetCursorPos(&pointer)) return;
    MoveWindow(dialog, pointer.x - POINTER_OFFSET, pointer.y - POINTER_OFFSET,
               rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

static INT_PTR OnInitDialog(HWND dialog, const ValuePromptRequest* request) {
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)request);
    SetWindowTextA(dialog, request->caption);
    SetDlgItemTextA(dialog, IDC_PROMPT_LINE, request->prompt);
    int unused = request->textField ? IDC_PROMPT_NUMBER_FIELD : IDC_PROMPT_TEXT_FIELD;
    ShowWindow(GetDlgItem(dialog, unused), SW_HIDE);
    HWND field = GetDlgItem(dialog, UsedField(request));
    SetWindowTextA(field, Prompt::value);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);  // typing replaces the initial text
    PlaceAtPointer(dialog);
    return FALSE;  // the focus is set already
}

static INT_PTR OnCommand(HWND dialog, int id) {
    const ValuePromptRequest* request = RequestOf(dialog);
    if (id == IDOK && request) {
        GetWindowTextA(GetDlgItem(dialog, UsedField(request)), Prompt::value, PROMPT_VALUE_LENGTH);
        EndDialog(dialog, PROMPT_OK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, PROMPT_CANCEL);
        return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK ValuePromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog(dialog, (const ValuePromptRequest*)lParam);
    if (message == WM_COMMAND) return OnCommand(dialog, LOWORD(wParam));
    return FALSE;
}

INT_PTR RunValuePrompt(HWND owner, const ValuePromptRequest* request) {
    if (!request) return 0;
    // The template lives in the module that made the owner window.
    HINSTANCE instance =
        owner ? (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE) : GetModuleHandleA(nullptr);
    return RunModalDialog(instance, IDD_VALUE_PROMPT, owner, ValuePromptProc, (LPARAM)request);
}
