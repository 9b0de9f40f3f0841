// Stop signals on POSIX systems: the handler runs on the writing thread,
// removes the temporary file with async-signal-safe calls and then lets the
// signal end the program as it would have, so that the caller sees how it
// stopped. The Windows build has its own (stop_signals_win32.cpp).
#ifndef _WIN32
#include "convert/stop_signals.h"

#include <signal.h>

#include "formats/temp_file_guard.h"

static void OnStop(int signal) {
    RemoveHeldTempFile();
    // SA_RESETHAND has put the default action back; it takes the signal
    // once this handler returns.
    raise(signal);
}

void InstallStopHandlers() {
    static const int STOPS[] = {SIGINT, SIGTERM, SIGHUP};
    for (int signal : STOPS) {
        struct sigaction old = {};
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction stop = {};
        stop.sa_handler = OnStop;
        stop.sa_flags = SA_RESETHAND;
        sigemptyset(&stop.sa_mask);
        sigaction(signal, &stop, nullptr);
    }
}
#endif
