// The converter stopped from outside (Ctrl+C, a termination request, the
// console or terminal closing) while it writes: the temporary file of the
// output in progress is removed (formats/temp_file_guard.h), so that only
// the old output, if any, is left. Touches the process's signal or console
// handlers.
#pragma once

// Installs the handlers; a signal ignored when the converter started (as
// for a program run in the background) stays ignored.
void InstallStopHandlers();
