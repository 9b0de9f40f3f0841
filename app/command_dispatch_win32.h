// The main window's menu and accelerator commands, each handed to the part
// that implements it.
#pragma once

#include <windows.h>

// Runs the command with the given id; ids without a handler are ignored, and
// so are commands whose menu item is grayed and, while a prompt or the Edit
// Vector dialog is open, those that could change what it acts on.
void DispatchCommand(HWND mainWindow, int commandId);

// The release shown in the About box.
extern const char* const AboutText;
