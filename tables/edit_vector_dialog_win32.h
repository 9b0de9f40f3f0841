// The Edit Vector dialog (template 111): one point's V, X and Y.
#pragma once

#include <windows.h>

#include <cstdint>

struct EditVectorValues {
    char rowText[20];
    int32_t v, x, y;  // shown on opening, entered after OK
};

// 1 after OK (values read back), 2 after Cancel.
INT_PTR RunEditVectorDialog(HWND owner, EditVectorValues* values);
