// Placeholder until the file commands land: every flow refuses.
#include "files/file_commands_win32.h"

int LoadFrames(HWND, const char*, int) {
    return 0;
}
int SaveFrames(HWND, int, int, int) {
    return 0;
}
void OpenFramesCommand(HWND) {}
void InsertFramesCommand(HWND) {}
void SaveFramesCommand(HWND) {}
void SaveFramesAsCommand(HWND) {}
void WriteSelectionAsCommand(HWND) {}
