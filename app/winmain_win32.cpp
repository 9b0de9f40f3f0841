// Program entry: start the shell and run the message loop. The command line
// is not used.
#include <windows.h>

#include "app/shell_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!StartShell(instance, showCommand)) return 0;
    return RunMessageLoop();
}
