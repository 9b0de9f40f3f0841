// Decimal integer reading shared by prompts and readers.
#include "document/number_parse.h"

static bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int ScanInt(const char* text, int32_t* result, const char** end) {
    const char* p = text;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    if (*p < '0' || *p > '9') {
        *result = 0;
        if (end) *end = text;
        return 0;
    }
    // Accumulate as a positive magnitude in 64 bits, saturating early.
    int64_t magnitude = 0;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    while (*p >= '0' && *p <= '9') {
        if (magnitude < limit) {
            magnitude = magnitude * 10 + (*p - '0');
            if (magnitude > limit) magnitude = limit;
        }
        ++p;
    }
    *result = (int32_t)(negative ? -magnitude : magnitude);
    if (end) *end = p;
    return 1;
}

int32_t ParseLeadingInt(const char* text) {
    int32_t v = 0;
    ScanInt(text, &v, nullptr);
    return v;
}

int32_t ClampInt(int32_t v, int32_t low, int32_t high) {
    if (v < low) return low;
    if (v > high) return high;
    return v;
}
