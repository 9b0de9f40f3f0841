// The shell's handles, and nothing else.
#include "app/shell_handles_win32.h"

ShellHandles shellHandles = {};
