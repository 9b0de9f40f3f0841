// Resource ids shared by the code and quillon.rc.
#ifndef QUILLON_RESOURCE_IDS_H
#define QUILLON_RESOURCE_IDS_H

#include "document/command_ids.h"

#define IDI_QUILLON 108
#define IDR_MAIN_MENU 101
#define IDR_ACCELERATORS 106
#define IDD_VALUE_PROMPT 109
#define IDR_VECTOR_POPUP 110
#define IDR_FRAME_POPUP 111
#define IDD_EDIT_VECTOR 111

// Controls of the value prompt.
#define IDC_PROMPT_TEXT_FIELD 1000
#define IDC_PROMPT_LINE 1001
#define IDC_PROMPT_NUMBER_FIELD 1002

// Static labels that no code reaches. Written as 65535, not -1: in an
// extended dialog template the id is 32 bits wide, and -1 would be stored as
// 0xFFFFFFFF.
#define IDC_LABEL 65535

// Controls of the Edit Vector dialog.
#define IDC_EDIT_VECTOR_X 1002
#define IDC_EDIT_VECTOR_Y 1003
#define IDC_EDIT_VECTOR_V 1004
#define IDC_EDIT_VECTOR_ROW 1005

// Child windows of the main window.
#define IDC_STATUS_BAR 101
#define IDC_CANVAS 1010

#endif
