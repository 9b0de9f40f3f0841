// Start-up of the shell: window classes, main window, accelerators.
#pragma once

#include <windows.h>

// Runs start-up steps 1 to 5; returns the main window, or null on failure.
HWND StartShell(HINSTANCE instance, int showCommand);

// The message loop with the accelerator table offered every message first.
int RunMessageLoop();
