// The CSV reader's quick scan of plain point lines, in two ways that take the
// same lines: with SSE2 where the compiler has it, and portable. Both are
// built everywhere SSE2 is, so that the tests compare them. Touches nothing
// but what it is given.
//
// Most lines are plain "V,X,Y" with numbers of up to 8 digits, an optional
// minus sign and a line end; they are taken straight from the block, several
// at a time. Every other line (blanks, plus signs, long numbers, names,
// separators, a line cut by the end of the data) is left to the general
// way, which reads it the same. The zero after the data stops every quick
// line at the data's end.
#pragma once

#include <cstdint>
#include <cstring>

#include "formats/csv_lines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

enum {
    // The quick point scan looks at a window of 64 bytes, reads up to 16
    // beyond it, and takes at most 8 lines from one window.
    QUICK_LINES = 8,
    QUICK_WINDOW = 64,
    QUICK_READ_BEYOND = QUICK_WINDOW + 16
};
static_assert((int)QUICK_READ_BEYOND <= (int)CSV_INPUT_SLACK,
              "the quick scan reads beyond the data");

// Each way takes up to QUICK_LINES point lines from p, which must have
// QUICK_READ_BEYOND readable bytes, into out; returns how many, and the bytes
// they take in *taken.

#if defined(__SSE2__)
struct QuickWindowMasks {
    // Bit i describes byte i of the 64-byte window.
    uint64_t feeds, commas, signs, others;  // others: not a digit
};

inline uint64_t QuickMask64(const __m128i* chunk, char c) {
    const __m128i k = _mm_set1_epi8(c);
    uint64_t mask = 0;
    for (int i = 0; i < 4; ++i)
        mask |= (uint64_t)(uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(chunk[i], k)) << (16 * i);
    return mask;
}

inline void QuickWindowMasksAt(const char* p, QuickWindowMasks* m) {
    __m128i chunk[4];
    for (int i = 0; i < 4; ++i) chunk[i] = _mm_loadu_si128((const __m128i*)(p + 16 * i));
    m->feeds = QuickMask64(chunk, '\n');
    m->commas = QuickMask64(chunk, ',');
    m->signs = QuickMask64(chunk, '-');
    const __m128i zero = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9);
    uint64_t digits = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i d = _mm_sub_epi8(chunk[i], zero);
        digits |= (uint64_t)(uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, nine), d))
                  << (16 * i);
    }
    m->others = ~digits;
}

// Both numbers of length (1 to 8) digits at p1 and p2 at once.
inline void QuickTwoNumbers(const char* p1, int length1, const char* p2, int length2, int32_t* v1,
                            int32_t* v2) {
    uint64_t a, b;
    std::memcpy(&a, p1, 8);
    std::memcpy(&b, p2, 8);
    // Digits become 0..9; the bytes after a number are shifted out and zero
    // digits come in front, so each lane holds eight digits, highest first.
    a = (a ^ 0x3030303030303030ull) << (8 * (8 - length1));
    b = (b ^ 0x3030303030303030ull) << (8 * (8 - length2));
    __m128i d = _mm_set_epi64x((long long)b, (long long)a);
    // Pairs, then groups of four, then eight digits.
    d = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(d, _mm_set1_epi16(0xFF)), _mm_set1_epi16(10)),
                      _mm_srli_epi16(d, 8));
    d = _mm_madd_epi16(d, _mm_set_epi16(1, 100, 1, 100, 1, 100, 1, 100));
    d = _mm_add_epi64(_mm_mul_epu32(d, _mm_set1_epi32(10000)), _mm_srli_epi64(d, 32));
    *v1 = _mm_cvtsi128_si32(d);
    *v2 = _mm_cvtsi128_si32(_mm_srli_si128(d, 8));
}

// Works on bit masks of the window: bit i stands for byte i.
inline int QuickPointLinesSse2(const char* p, VectorPoint* out, int* taken) {
    QuickWindowMasks m;
    QuickWindowMasksAt(p, &m);
    uint64_t feeds = m.feeds;
    uint64_t done = 0;  // the bytes of the lines taken so far, always the lowest bits
    int at = 0, count = 0;
    while (feeds && count < QUICK_LINES) {
        const uint64_t feedBit = feeds & (0 - feeds);
        const int feed = __builtin_ctzll(feeds);
        const uint64_t startBit = done + 1;
        uint64_t body = (feedBit - 1) & ~done;
        if (!body) break;  // empty line
        const int cr = p[feed - 1] == '\r';
        if (cr) body &= ~(feedBit >> 1);  // CR before LF is dropped
        // Exactly two commas.
        const uint64_t commas = m.commas & body;
        const uint64_t comma1 = commas & (0 - commas);
        const uint64_t later = commas ^ comma1;
        const uint64_t comma2 = later & (0 - later);
        if (!comma1 || !comma2 || (later ^ comma2)) break;
        // Besides digits and commas only a minus sign at a field's start.
        const uint64_t signs = m.signs & body & (startBit | (comma1 << 1) | (comma2 << 1));
        if ((m.others & body & ~commas) != signs) break;
        const int first = __builtin_ctzll(comma1), second = __builtin_ctzll(comma2);
        const int sign0 = (signs & startBit) != 0;
        const int sign1 = (signs & (comma1 << 1)) != 0;
        const int sign2 = (signs & (comma2 << 1)) != 0;
        const int from1 = first + 1 + sign1, from2 = second + 1 + sign2;
        const int length0 = first - at - sign0, length1 = second - from1;
        const int length2 = feed - cr - from2;
        if (((unsigned)(length0 - 1) > 7u) | ((unsigned)(length1 - 1) > 7u) |
            ((unsigned)(length2 - 1) > 7u))
            break;
        int32_t x, y;
        QuickTwoNumbers(p + from1, length1, p + from2, length2, &x, &y);
        // '0' is even, so V's parity is that of its last digit.
        SetCsvPoint(&out[count], p[first - 1], sign1 ? -x : x, sign2 ? -y : y);
        ++count;
        done = feedBit | (feedBit - 1);
        at = feed + 1;
        feeds &= feeds - 1;
    }
    *taken = at;
    return count;
}
#endif

inline const char* QuickNumber(const char* p, int32_t* value) {
    const bool negative = (*p == '-');
    if (negative) ++p;
    int32_t v = 0;
    int length = 0;
    unsigned digit;
    while (length < 9 && (digit = (unsigned)(unsigned char)p[length] - '0') <= 9) {
        v = v * 10 + (int32_t)digit;
        ++length;
    }
    if (length == 0 || length > 8) return nullptr;
    *value = negative ? -v : v;
    return p + length;
}

inline int QuickPointLinesPortable(const char* p, VectorPoint* out, int* taken) {
    const char* at = p;
    int count = 0;
    while (count < QUICK_LINES) {
        int32_t v, x, y;
        const char* q = at;
        if (!(q = QuickNumber(q, &v)) || *q != ',') break;
        if (!(q = QuickNumber(q + 1, &x)) || *q != ',') break;
        if (!(q = QuickNumber(q + 1, &y))) break;
        if (*q == '\r') ++q;
        if (*q != '\n') break;
        SetCsvPoint(&out[count++], v, x, y);
        at = q + 1;
    }
    *taken = (int)(at - p);
    return count;
}

inline int QuickPointLines(const char* p, VectorPoint* out, int* taken) {
#if defined(__SSE2__)
    return QuickPointLinesSse2(p, out, taken);
#else
    return QuickPointLinesPortable(p, out, taken);
#endif
}
