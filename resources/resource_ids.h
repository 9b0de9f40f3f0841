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

#endif
