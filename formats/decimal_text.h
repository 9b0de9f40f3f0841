// Integers as decimal text, as "%d" gives them, for the writers that put
// out millions of numbers. Touches nothing but the bytes it writes.
#pragma once

#include <cstdint>
#include <cstring>

// "00", "01", ... "99".
extern const char DECIMAL_DIGIT_PAIRS[201];

// Writes value at p (at most 11 bytes) and returns the end of it.
inline char* PutDecimal(char* p, int32_t value) {
    uint32_t magnitude = (uint32_t)value;
    if (value < 0) {
        *p++ = '-';
        magnitude = 0u - magnitude;
    }
    // Two digits at a time from the right, into a scratch field.
    char digits[12];
    char* end = digits + sizeof digits;
    char* q = end;
    while (magnitude >= 100u) {
        const uint32_t pair = magnitude % 100u;
        magnitude /= 100u;
        q -= 2;
        std::memcpy(q, DECIMAL_DIGIT_PAIRS + 2 * pair, 2);
    }
    if (magnitude >= 10u) {
        q -= 2;
        std::memcpy(q, DECIMAL_DIGIT_PAIRS + 2 * magnitude, 2);
    } else {
        *--q = (char)('0' + magnitude);
    }
    const size_t length = (size_t)(end - q);
    std::memcpy(p, q, length);
    return p + length;
}
