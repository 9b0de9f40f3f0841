// Notices cheaply whether anything wrote into a block of memory: the block
// is kept read-only, and the first write fault makes it writable again and
// is remembered. Lets the fuzz harness skip comparing 18 MB of point blocks
// after a read that wrote none of them.
#pragma once

#include <cstddef>

// Prepares a guard over the whole pages inside [start, start + size). Returns
// false when the fault handler cannot be installed; the guard then reports
// every block as written.
bool SetUpWriteGuard(void* start, size_t size);

// Makes the pages read-only and forgets earlier writes.
void ArmWriteGuard();

// Makes the pages writable again; true when something wrote into them since
// ArmWriteGuard. The bytes of the block outside its whole pages are not
// watched: the caller compares those itself.
bool DisarmWriteGuard();

// The watched pages, for the caller's own comparison of the rest.
char* GuardedStart();
char* GuardedEnd();
