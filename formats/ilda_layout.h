// The layout of ILDA sections: header offsets, format codes, record sizes
// and status bits. Shared by the reader, the writer and the section walker,
// so that all of them take a file the same way. Touches nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

enum {
    ILDA_HEADER_SIZE = 32,
    ILDA_SIGNATURE_SIZE = 4,
    ILDA_RESERVED_OFFSET = 4,  // bytes 4 to 6, reserved
    ILDA_RESERVED_SIZE = 3,
    ILDA_FORMAT_OFFSET = 7,
    ILDA_NAME_OFFSET = 8,
    ILDA_COUNT_OFFSET = 24,
    ILDA_NUMBER_OFFSET = 26,
    ILDA_TOTAL_OFFSET = 28,
    ILDA_FORMAT_3D_INDEXED = 0,
    ILDA_FORMAT_2D_INDEXED = 1,
    ILDA_FORMAT_PALETTE = 2,
    ILDA_FORMAT_3D_TRUE_COLOUR = 4,
    ILDA_FORMAT_2D_TRUE_COLOUR = 5,
    ILDA_STATUS_BLANKED = 0x40,
    ILDA_STATUS_LAST_POINT = 0x80
};

inline unsigned IldaBigEndian16(const unsigned char* at) {
    return ((unsigned)at[0] << 8) | at[1];
}

inline void IldaPutBigEndian16(unsigned char* at, unsigned value) {
    at[0] = (unsigned char)(value >> 8);
    at[1] = (unsigned char)value;
}

// Y in the file points up: the 16-bit negation in both directions, so that
// -32768 stays -32768.
inline int16_t IldaNegate16(unsigned value) {
    return (int16_t)(uint16_t)(0u - value);
}

// The four bytes "ILDA". The three reserved bytes after them are not part
// of it: writers leave "000" or other bytes there, and readers ignore them.
inline int IldaHasSignature(const unsigned char* header) {
    return std::memcmp(header, "ILDA", ILDA_SIGNATURE_SIZE) == 0;
}

// Bytes per record of a section's format; 0 for a format the reader cannot
// read.
inline size_t IldaRecordSize(unsigned format) {
    switch (format) {
        case ILDA_FORMAT_3D_INDEXED:
            return 8;
        case ILDA_FORMAT_2D_INDEXED:
            return 6;
        case ILDA_FORMAT_PALETTE:
            return 3;
        case ILDA_FORMAT_3D_TRUE_COLOUR:
            return 10;
        case ILDA_FORMAT_2D_TRUE_COLOUR:
            return 8;
        default:
            return 0;
    }
}

// 3D records carry Z before the status byte.
inline size_t IldaStatusOffset(unsigned format) {
    return format == ILDA_FORMAT_3D_INDEXED || format == ILDA_FORMAT_3D_TRUE_COLOUR ? 6 : 4;
}
