// Reading an ILDA file as a stream of headers and records, in large blocks,
// telling a read error from the end of the file. Shared by the reader and
// the section walker. Touches nothing but the input it is given.
#pragma once

#include <cstddef>
#include <cstdio>

enum { ILDA_READ_BLOCK = 256 * 1024 };

struct IldaInput {
    FILE* stream;
    size_t pos;
    size_t length;
    long long base;  // bytes of the file before block[0]
    bool atEnd;
    bool failed;  // a read error, not the end of the file, ended the input
    unsigned char block[ILDA_READ_BLOCK];
};

void StartIldaInput(IldaInput* in, FILE* stream);

// Keeps what is left of the block and reads on to fill it.
void RefillIldaInput(IldaInput* in);

// Where the next byte stands in the file.
inline long long IldaOffset(const IldaInput* in) {
    return in->base + (long long)in->pos;
}

// How many of the next size bytes the file still holds (size is at most a
// header or a record).
inline size_t IldaAvailable(IldaInput* in, size_t size) {
    if (in->length - in->pos < size) RefillIldaInput(in);
    size_t here = in->length - in->pos;
    return here < size ? here : size;
}

// The next size bytes, or null when the file holds fewer; a short read
// consumes what was left.
inline const unsigned char* IldaTake(IldaInput* in, size_t size) {
    if (IldaAvailable(in, size) < size) {
        in->pos = in->length;
        return nullptr;
    }
    const unsigned char* at = in->block + in->pos;
    in->pos += size;
    return at;
}

// 1 when the next bytes are a whole header with the ILDA signature; reads
// ahead without taking them.
int IldaSectionFollows(IldaInput* in);

// Reads and drops up to count records; returns how many the file held whole.
unsigned SkipIldaRecords(IldaInput* in, unsigned count, size_t size);
