// The account of a frame file read and its one message.
#include "formats/read_account.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "formats/checked_read.h"

ReadAccount lastReadAccount;

enum { ACCOUNT_TEXT_LENGTH = 512 };

void StartReadAccount(ReadAccount* account, int placeKind) {
    std::memset(account, 0, sizeof *account);
    account->stop = READ_STOP_NONE;
    account->placeKind = placeKind;
}

void StopReading(ReadAccount* account, int stop, int32_t place, int formatCode) {
    if (account->stop != READ_STOP_NONE) return;
    account->stop = stop;
    account->stopPlace = place;
    account->formatCode = formatCode;
}

int ReadLeftDataOut(const ReadAccount* account) {
    return account->longFrames > 0 || account->framesBeyondStore > 0 ||
           account->stop != READ_STOP_NONE;
}

int ReadFoundNoFrame(const ReadAccount* account) {
    return account->framesRead == 0 && ReadLeftDataOut(account);
}

// Appends to text, never beyond size.
__attribute__((format(printf, 3, 4))) static void Append(char* text, size_t size,
                                                         const char* format, ...) {
    size_t used = std::strlen(text);
    if (used + 1 >= size) return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(text + used, size - used, format, args);
    va_end(args);
}

static const char* Plural(long long n, const char* one, const char* many) {
    return n == 1 ? one : many;
}

void FormatReadAccount(const ReadAccount* account, char* text, size_t size) {
    if (size == 0) return;
    text[0] = 0;
    if (!ReadLeftDataOut(account)) return;
    Append(text, size, "%s",
           account->framesRead == 0 ? "No frame could be read from this file:"
                                    : "Not all of this file was read:");
    if (account->longFrames > 0) {
        long long points = account->pointsBeyondLimit, frames = account->longFrames;
        Append(text, size, "\n- %lld %s in %lld %s beyond the %d points a frame holds", points,
               Plural(points, "point", "points"), frames, Plural(frames, "frame", "frames"),
               (int)MAX_POINTS);
    }
    if (account->framesBeyondStore > 0) {
        long long frames = account->framesBeyondStore, points = account->pointsBeyondStore;
        Append(text, size, "\n- %lld %s (%lld %s) beyond what the document can hold", frames,
               Plural(frames, "frame", "frames"), points, Plural(points, "point", "points"));
    }
    const char* unit = account->placeKind == READ_PLACE_FRAME ? "frame" : "section";
    const long long place = account->stopPlace;
    switch (account->stop) {
        case READ_STOP_CUT_SHORT:
            Append(text, size, "\n- the file ends early, in %s %lld", unit, place);
            break;
        case READ_STOP_FORMAT:
            Append(text, size, "\n- reading stopped at %s %lld: format code %d cannot be read",
                   unit, place, account->formatCode);
            break;
        case READ_STOP_NOT_SECTION:
            Append(text, size, "\n- reading stopped at %s %lld: no section header there", unit,
                   place);
            break;
        case READ_STOP_AFTER_CLOSING:
            Append(text, size,
                   "\n- reading stopped at %s %lld: a header of 0 records ends the frames, but "
                   "more frames follow it",
                   unit, place);
            break;
        case READ_STOP_READ_ERROR:
            Append(text, size, "\n- reading stopped at %s %lld: the file could not be read further",
                   unit, place);
            break;
        default:
            break;
    }
}

void ReportReadAccount(UiWindow owner, const char* path, const ReadAccount* account) {
    char text[ACCOUNT_TEXT_LENGTH];
    FormatReadAccount(account, text, sizeof text);
    const int cause = account->stop == READ_STOP_READ_ERROR ? ReadFailureCause() : 0;
    if (text[0]) ShowFileWarning(owner, path, text, "Loading Frames", cause);
}
