// The temporary file of the write in progress, for a program stopped by a
// signal (Ctrl+C, a termination request): the stop handler removes it, so
// that an interrupted save leaves nothing behind but the old file. The
// atomic writer says when it holds one; the handler is the program's own
// (the converter installs one). Touches nothing but the file it is told of.
#pragma once

// Called by the atomic writer with the complete name of the temporary file
// it is about to create, before it creates it. 0 when a stop was asked for
// already: the write must not begin.
int HoldTempFile(const char* path);

// The temporary file is gone or has become the target.
void ReleaseTempFile();

// 1 once a stop was asked for: a write in progress gives up at its next
// step (where the stop handler runs on another thread, as on Windows).
int StopRequested();

// For the stop handler: marks the stop and returns the name of the
// temporary file held, or null. The name stays valid while it is held.
const char* RequestStop();

// For a stop handler that runs on the writing thread, interrupting it (a
// POSIX signal): removes the file held, if any, with async-signal-safe
// calls only, and marks the stop.
void RemoveHeldTempFile();
