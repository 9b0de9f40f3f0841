// The Edit Vector dialog procedure.
#include "tables/edit_vector_dialog_win32.h"

#include <cstdio>

#include "document/number_parse.h"
#include "resources/resource_ids.h"
#include "tables/modal_dialog_win32.h"

enum { FIELD_V = 1004, FIELD_X = 1002, FIELD_Y = 1003, ROW_NUMBER = 1005, FIELD_LENGTH = 20 };

static void SetNumber(HWND dialog, int id, int32_t value) {
    char text[FIELD_LENGTH];
    std::snprintf(text, sizeof text, "%d", (int)value);
    SetDlgItemTextA(dialog, id, text);
}

static int32_t ReadNumber(HWND dialog, int id) {
    char text[FIELD_LENGTH] = "";
    GetDlgItemTextA(dialog, id, text, FIELD_LENGTH);
    return ParseLeadingInt(text);
}

static INT_PTR CALLBACK EditVectorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    EditVectorValues* values = (EditVectorValues*)GetWindowLongPtrA(dialog, DWLP_USER);
    if (message == WM_INITDIALOG) {
        values = (EditVectorValues*)lParam;
        SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)values);
        SetDlgItemTextA(dialog, ROW_NUMBER, values->rowText);
        SetNumber(dialog, FIELD_V, values->v);
        SetNumber(dialog, FIELD_X, values->x);
        SetNumber(dialog, FIELD_Y, values->y);
        HWND field = GetDlgItem(dialog, FIELD_V);
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);  // typing replaces the shown value
        return FALSE;
    }
    if (message == WM_COMMAND && values) {
        if (LOWORD(wParam) == IDOK) {
            values->v = ReadNumber(dialog, FIELD_V);
            values->x = ReadNumber(dialog, FIELD_X);
            values->y = ReadNumber(dialog, FIELD_Y);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 2);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR RunEditVectorDialog(HWND owner, EditVectorValues* values) {
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE);
    return RunModalDialog(instance, IDD_EDIT_VECTOR, owner, EditVectorProc, (LPARAM)values);
}
