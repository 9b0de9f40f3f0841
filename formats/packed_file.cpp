// Writing packed frame files. Reads the store and the two settings directly
// and goes through the atomic writer; nothing in the document changes.
#include "formats/packed_file.h"

#include <cstdint>
#include <cstring>

#include "document/frame_store.h"
#include "formats/atomic_write.h"

enum { HEADER_SIZE = 32, WORD_PAIR_SIZE = 4, BEAM_BIT = 0x8000, WRITE_BLOCK = 256 * 1024 };

struct PackedOutput {
    AtomicFile file;
    size_t length;
    unsigned char block[WRITE_BLOCK];
};

static PackedOutput packedOutput;

static void PutLittleEndian16(unsigned char* at, unsigned value) {
    at[0] = (unsigned char)value;
    at[1] = (unsigned char)(value >> 8);
}

static void PutLittleEndian32(unsigned char* at, uint32_t value) {
    PutLittleEndian16(at, value & 0xFFFFu);
    PutLittleEndian16(at + 2, value >> 16);
}

static void Flush(PackedOutput* out) {
    AtomicWriteBytes(&out->file, out->block, out->length);
    out->length = 0;
}

// Top 12 bits of a coordinate shifted into offset binary; the sum wraps at
// 16 bits, so an upward -(-32768) comes out as 0.
static unsigned OffsetBinary12(int value) {
    return (unsigned)(uint16_t)(value + 32768) >> 4;
}

int WritePackedFrames(UiWindow owner, const char* path, int first, int last) {
    if (first < 0 || first >= MAX_FRAMES || last < first - 1 || last >= MAX_FRAMES) return 0;
    PackedOutput* out = &packedOutput;
    if (!BeginAtomicWrite(&out->file, owner, path)) return 0;

    uint32_t total = 0;
    for (int i = first; i <= last; ++i)
        if (frameStore.pointCounts[i] > 0) total += (uint32_t)frameStore.pointCounts[i];
    unsigned char* header = out->block;
    std::memset(header, 0, HEADER_SIZE);
    std::memcpy(header, "VD  ", 4);
    PutLittleEndian16(header + 4, (unsigned)ScanSpeed & 0xFFFFu);
    PutLittleEndian32(header + 6, total);
    std::memcpy(header + 16, frameStore.frameNames[first].bytes, FRAME_NAME_LENGTH);
    out->length = HEADER_SIZE;

    // The beam bits lag the coordinates by the delay, across frame ends.
    const unsigned delayBit = (unsigned)BlankingDelay & 31u;
    uint32_t beamHistory = 0;
    for (int i = first; i <= last; ++i) {
        int count = frameStore.pointCounts[i];
        if (count > MAX_POINTS) count = MAX_POINTS;
        const VectorPoint* points = frameStore.frames[i];
        for (int p = 0; p < count; ++p) {
            beamHistory <<= 1;
            if (points[p].flags & POINT_VISIBLE) beamHistory |= 1u;
            unsigned xWord = OffsetBinary12(points[p].x);
            unsigned yWord = OffsetBinary12(-(int)points[p].y);
            if ((beamHistory >> delayBit) & 1u) xWord |= BEAM_BIT;
            if (out->length + WORD_PAIR_SIZE > WRITE_BLOCK) Flush(out);
            PutLittleEndian16(out->block + out->length, xWord);
            PutLittleEndian16(out->block + out->length + 2, yWord);
            out->length += WORD_PAIR_SIZE;
        }
    }
    Flush(out);
    return FinishAtomicWrite(&out->file, owner);
}
