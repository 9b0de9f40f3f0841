// The write guard: mprotect and a SIGSEGV handler that hands every fault
// outside the guarded pages on to the handler installed before it (the
// sanitizers' or libFuzzer's), so real crashes are still reported.
#include "tests/fuzz/write_guard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace {

char* guardStart = nullptr;
char* guardEnd = nullptr;
volatile sig_atomic_t armed = 0;
volatile sig_atomic_t written = 0;
bool usable = false;
struct sigaction previous;

void Unprotect() {
    mprotect(guardStart, (size_t)(guardEnd - guardStart), PROT_READ | PROT_WRITE);
}

void OnFault(int signal, siginfo_t* info, void* context) {
    char* at = (char*)info->si_addr;
    if (armed && at >= guardStart && at < guardEnd) {
        Unprotect();
        armed = 0;
        written = 1;
        return;  // the write runs again, now allowed
    }
    if (previous.sa_flags & SA_SIGINFO) {
        previous.sa_sigaction(signal, info, context);
        return;
    }
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
        return;
    }
    // No one else wants it: the default action, when the fault repeats.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGSEGV, &fallback, nullptr);
}

}  // namespace

bool SetUpWriteGuard(void* start, size_t size) {
    const uintptr_t page = (uintptr_t)sysconf(_SC_PAGESIZE);
    const uintptr_t from = ((uintptr_t)start + page - 1) & ~(page - 1);
    const uintptr_t to = ((uintptr_t)start + size) & ~(page - 1);
    if (to <= from) return false;
    guardStart = (char*)from;
    guardEnd = (char*)to;
    // Changing the protection costs a step per page: huge pages, where the
    // system has them, make that a step per 2 MB for most of the block. Asked
    // for before the block is first written, so that it is built of them.
    const uintptr_t huge = 2u << 20;
    const uintptr_t hugeFrom = (from + huge - 1) & ~(huge - 1);
    const uintptr_t hugeTo = to & ~(huge - 1);
    if (hugeTo > hugeFrom) madvise((void*)hugeFrom, hugeTo - hugeFrom, MADV_HUGEPAGE);
    struct sigaction handler = {};
    handler.sa_sigaction = OnFault;
    handler.sa_flags = SA_SIGINFO;
    sigemptyset(&handler.sa_mask);
    if (sigaction(SIGSEGV, &handler, &previous) != 0) return false;
    // A sanitizer may refuse to give up its handler; then nothing is guarded.
    struct sigaction installed = {};
    sigaction(SIGSEGV, nullptr, &installed);
    usable = (installed.sa_flags & SA_SIGINFO) && installed.sa_sigaction == OnFault;
    if (!usable) return false;
    // Proof that it works here: one write is seen, no write is not.
    volatile char* probe = guardStart + (guardEnd - guardStart) / 2;
    ArmWriteGuard();
    *probe = *probe;
    const bool seen = DisarmWriteGuard();
    ArmWriteGuard();
    const bool quiet = !DisarmWriteGuard();
    usable = seen && quiet;
    return usable;
}

void ArmWriteGuard() {
    written = 0;
    if (!usable) return;
    armed = 1;
    if (mprotect(guardStart, (size_t)(guardEnd - guardStart), PROT_READ) != 0) {
        armed = 0;
        usable = false;
    }
}

bool DisarmWriteGuard() {
    if (!usable) return true;
    if (armed) {
        armed = 0;
        Unprotect();
    }
    return written != 0;
}

char* GuardedStart() {
    return guardStart;
}

char* GuardedEnd() {
    return guardEnd;
}
