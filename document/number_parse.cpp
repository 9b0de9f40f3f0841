// Decimal integer reading shared by prompts and readers.
#include "document/number_parse.h"

static bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Both readings: the magnitude saturates at the limit of the sign, or
// wraps in 32 bits; *beyond says whether it went past the limit.
static int ScanDecimal(const char* text, bool wrap, int32_t* result, const char** end,
                       bool* beyond) {
    const char* p = text;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    *beyond = false;
    if (*p < '0' || *p > '9') {
        *result = 0;
        if (end) *end = text;
        return 0;
    }
    // Accumulate as a positive magnitude in 64 bits, saturating early; the
    // low 32 bits go on exactly either way.
    int64_t magnitude = 0;
    uint32_t low = 0;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    while (*p >= '0' && *p <= '9') {
        const unsigned digit = (unsigned)(*p - '0');
        low = low * 10u + digit;
        if (magnitude <= limit) magnitude = magnitude * 10 + digit;
        ++p;
    }
    if (magnitude > limit) {
        *beyond = true;
        magnitude = limit;
    }
    if (wrap)
        *result = (int32_t)(negative ? 0u - low : low);
    else
        *result = (int32_t)(negative ? -magnitude : magnitude);
    if (end) *end = p;
    return 1;
}

int ScanInt(const char* text, int32_t* result, const char** end) {
    bool beyond;
    return ScanDecimal(text, false, result, end, &beyond);
}

int ScanIntLow32(const char* text, int32_t* result, const char** end, bool* beyond) {
    bool past;
    const int found = ScanDecimal(text, true, result, end, &past);
    if (beyond) *beyond = past;
    return found;
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
