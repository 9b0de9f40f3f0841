// Reading a CSV frame file in pieces, and the header, point and name lines.
#include "formats/csv_lines.h"

#include <cstring>

#include "document/number_parse.h"
#include "formats/checked_read.h"

void StartCsvInput(CsvInput* in, FILE* stream) {
    in->stream = stream;
    in->pos = 0;
    in->length = 0;
    in->atEnd = false;
    in->failed = false;
    in->lineEnded = true;
    in->block[0] = 0;
}

static void Refill(CsvInput* in) {
    size_t rest = in->length - in->pos;
    std::memmove(in->block, in->block + in->pos, rest);
    in->pos = 0;
    in->length = rest;
    while (!in->atEnd && in->length < CSV_READ_BLOCK) {
        size_t got = CheckedRead(in->stream, in->block + in->length, CSV_READ_BLOCK - in->length,
                                 &in->failed);
        if (got == 0) in->atEnd = true;
        in->length += got;
    }
    // The zero stops the quick point scan at the end of the data.
    in->block[in->length] = 0;
}

int ReadCsvPiece(CsvInput* in, char* out) {
    // One piece looks at no more than CSV_LINE_BUFFER bytes (49 characters
    // and the byte after a CR), so refilling first keeps the scan inside the
    // block; the data runs out only at the end of the file.
    if (!in->atEnd && in->length - in->pos <= CSV_LINE_BUFFER) Refill(in);
    const char* p = in->block + in->pos;
    const char* end = in->block + in->length;
    if (p == end) return -1;
    int n = 0;
    bool ended = false;
    while (n < CSV_LINE_CHARS && p < end) {
        char c = *p;
        if (c == '\n') {
            ++p;
            ended = true;
            break;
        }
        if (c == '\r' && p + 1 < end && p[1] == '\n') {
            p += 2;
            ended = true;
            break;
        }
        out[n++] = c;
        ++p;
    }
    out[n] = 0;
    in->pos = (size_t)(p - in->block);
    in->lineEnded = ended || p == end;
    return n;
}

int ParseCsvHeader(const char* line, int32_t* speed, int32_t* delay) {
    if (std::strncmp(line, "VECTOR,", 7) != 0) return 0;
    const char* p = nullptr;
    if (!ScanInt(line + 7, speed, &p)) return 0;
    *delay = 0;
    if (*p == ',') ScanInt(p + 1, delay, nullptr);
    return 1;
}

int ParseCsvPointLine(const char* line, int32_t fields[3], unsigned* beyond) {
    const char* p = line;
    unsigned any = 0;
    for (int i = 0; i < 3; ++i) {
        bool past = false;
        if (!ScanIntLow32(p, &fields[i], &p, &past)) return 0;
        if (past) any |= 1u << i;
        if (i < 2) {
            if (*p != ',') return 0;
            ++p;
        }
    }
    if (beyond) *beyond = any;
    return 1;
}

// A name line in the full form (see the writer): a double quote, the name
// with each double quote doubled, a double quote and a comma. A line that
// only looks so, with a double quote inside that is not doubled, was not
// written that way and reads as name lines always have. Returns where the
// name's bytes end (the closing double quote), or 0.
static int FullFormEnd(const char* line, int length) {
    if (length < 3 || line[0] != '"' || line[length - 2] != '"' || line[length - 1] != ',')
        return 0;
    const int end = length - 2;
    for (int i = 1; i < end; ++i) {
        if (line[i] != '"') continue;
        if (i + 1 == end || line[i + 1] != '"') return -1;
        ++i;
    }
    return end;
}

// The full form carries every byte as it is. Any other line reads as name
// lines always have: after a leading double quote the name ends at the next
// double quote, otherwise at a comma, and a byte below 0x20 or of 0x80 and
// above ends it too. A zero byte ends the name in both, as it ends the name
// a file is written with.
int ParseCsvNameLine(const char* line, int length, FrameName* name, unsigned* odd) {
    SetBlankName(name);
    if (odd) *odd = 0;
    int n = 0;
    const int fullEnd = FullFormEnd(line, length);
    if (fullEnd > 0) {
        for (int i = 1; i < fullEnd; ++i, ++n) {
            if (line[i] == 0) {
                if (odd) *odd |= CSV_NAME_ZERO_ENDED;
                break;
            }
            if (line[i] == '"') ++i;  // the first of a doubled pair
            if (n < FRAME_NAME_LENGTH) name->bytes[n] = line[i];
        }
        return n;
    }
    if (odd && fullEnd < 0) *odd |= CSV_NAME_NOT_FULL_FORM;
    const unsigned char* p = (const unsigned char*)line;
    const unsigned char* end = p + length;
    const bool quoted = (*p == '"');
    if (quoted) ++p;
    for (; p < end; ++n, ++p) {
        unsigned char c = *p;
        if (c < 0x20 || c >= 0x80) {
            if (c == 0 && odd) *odd |= CSV_NAME_ZERO_ENDED;
            break;
        }
        if (quoted ? c == '"' : c == ',') break;
        if (n < FRAME_NAME_LENGTH) name->bytes[n] = (char)c;
    }
    return n;
}
