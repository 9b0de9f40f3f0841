// Stop events of the Windows console (Ctrl+C, Ctrl+Break, the console
// closing): the handler runs on a thread of its own while the writer goes
// on. It marks the stop and, while a temporary file is held, waits for the
// writer to give up at its next step and remove it (a file still open
// cannot be removed from here); then it ends the program.
#include <windows.h>

#include "convert/stop_signals.h"
#include "formats/temp_file_guard.h"

enum { WAIT_STEP_MS = 10, WAIT_LIMIT_MS = 4000 };

static BOOL WINAPI OnConsoleStop(DWORD) {
    for (int waited = 0; RequestStop() && waited < WAIT_LIMIT_MS; waited += WAIT_STEP_MS)
        Sleep(WAIT_STEP_MS);
    // As the system's own handler ends a program stopped by Ctrl+C.
    ExitProcess((UINT)STATUS_CONTROL_C_EXIT);
    return TRUE;
}

void InstallStopHandlers() {
    SetConsoleCtrlHandler(OnConsoleStop, TRUE);
}
