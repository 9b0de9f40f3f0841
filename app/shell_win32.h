// Start-up of the shell, which wires the program together, and the message
// loop. The handles it fills in are in app/shell_handles_win32.h.
#pragma once

#include <windows.h>

// Start-up steps: common controls, the four window classes, the main window,
// the accelerators, show and first refresh. Returns the main window, or null
// when any step failed. Runs once per process.
HWND StartShell(HINSTANCE instance, int showCommand);

// Fetches and processes messages until the quit message; returns its code.
int RunMessageLoop();

// One message through the loop's step: accelerators first, then translation
// and dispatch. The test harness drives messages through this too.
void ProcessMessage(MSG* message);
