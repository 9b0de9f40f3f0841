// Block reading of ILDA files.
#include "formats/ilda_input.h"

#include <cstring>

#include "formats/checked_read.h"
#include "formats/ilda_layout.h"

void StartIldaInput(IldaInput* in, FILE* stream) {
    in->stream = stream;
    in->pos = 0;
    in->length = 0;
    in->base = 0;
    in->atEnd = false;
    in->failed = false;
}

void RefillIldaInput(IldaInput* in) {
    size_t rest = in->length - in->pos;
    std::memmove(in->block, in->block + in->pos, rest);
    in->base += (long long)in->pos;
    in->pos = 0;
    in->length = rest;
    while (!in->atEnd && in->length < ILDA_READ_BLOCK) {
        size_t got = CheckedRead(in->stream, in->block + in->length, ILDA_READ_BLOCK - in->length,
                                 &in->failed);
        if (got == 0) in->atEnd = true;
        in->length += got;
    }
}

int IldaSectionFollows(IldaInput* in) {
    if (IldaAvailable(in, ILDA_HEADER_SIZE) < ILDA_HEADER_SIZE) return 0;
    return IldaHasSignature(in->block + in->pos);
}

unsigned SkipIldaRecords(IldaInput* in, unsigned count, size_t size) {
    unsigned whole = 0;
    while (whole < count) {
        if (IldaAvailable(in, size) < size) {
            in->pos = in->length;
            break;
        }
        size_t here = (in->length - in->pos) / size;
        if (here > count - whole) here = count - whole;
        in->pos += here * size;
        whole += (unsigned)here;
    }
    return whole;
}
