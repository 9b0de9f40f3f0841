// The Win32 side of the UI port: how the portable code's requests reach the
// windows of this program.
#pragma once

// Fills uiPort with the Win32 implementations.
void InstallWin32UiPort();

// How many times the program has beeped since start (read by tests).
int BeepCount();
