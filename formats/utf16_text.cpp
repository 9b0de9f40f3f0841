// UTF-8 and UTF-16 conversion. Touches only the buffers it is given.
#include "formats/utf16_text.h"

static int Refuse(void* out, int unitSize) {
    if (unitSize == 1)
        *(char*)out = 0;
    else
        *(uint16_t*)out = 0;
    return -1;
}

// One code point from UTF-8 at text; its length in *length, 0 when the bytes
// are no shortest-form sequence.
static uint32_t DecodeOne(const unsigned char* text, int* length) {
    unsigned char lead = text[0];
    int count;
    uint32_t value, least;
    if (lead < 0x80) {
        *length = 1;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3, value = lead & 0x07, least = 0x10000;
    } else {
        *length = 0;
        return 0;
    }
    for (int i = 1; i <= count; ++i) {
        if ((text[i] & 0xC0) != 0x80) {
            *length = 0;
            return 0;
        }
        value = (value << 6) | (text[i] & 0x3F);
    }
    *length = value < least || value > 0x10FFFF ? 0 : count + 1;
    return value;
}

int Utf8ToUtf16(const char* text, uint16_t* out, int capacity) {
    if (!out || capacity < 1) return -1;
    if (!text) return Refuse(out, 2);
    const unsigned char* in = (const unsigned char*)text;
    int used = 0;
    while (*in) {
        int length = 0;
        uint32_t value = DecodeOne(in, &length);
        if (length == 0) return Refuse(out, 2);
        in += length;
        if (value >= 0x10000) {
            if (used + 2 >= capacity) return Refuse(out, 2);
            value -= 0x10000;
            out[used++] = (uint16_t)(0xD800 | (value >> 10));
            out[used++] = (uint16_t)(0xDC00 | (value & 0x3FF));
        } else {
            if (used + 1 >= capacity) return Refuse(out, 2);
            out[used++] = (uint16_t)value;
        }
    }
    out[used] = 0;
    return used;
}

int Utf16ToUtf8(const uint16_t* text, char* out, int capacity) {
    if (!out || capacity < 1) return -1;
    if (!text) return Refuse(out, 1);
    int used = 0;
    for (const uint16_t* unit = text; *unit; ++unit) {
        uint32_t value = *unit;
        // A pair makes one code point; a lone half is written as it is.
        if (value >= 0xD800 && value <= 0xDBFF && unit[1] >= 0xDC00 && unit[1] <= 0xDFFF) {
            value = 0x10000 + ((value - 0xD800) << 10) + (unit[1] - 0xDC00);
            ++unit;
        }
        int length = value < 0x80 ? 1 : value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
        if (used + length >= capacity) return Refuse(out, 1);
        unsigned char* at = (unsigned char*)out + used;
        if (length == 1) {
            at[0] = (unsigned char)value;
        } else {
            static const unsigned char LEADS[5] = {0, 0, 0xC0, 0xE0, 0xF0};
            for (int i = length - 1; i > 0; --i, value >>= 6)
                at[i] = (unsigned char)(0x80 | (value & 0x3F));
            at[0] = (unsigned char)(LEADS[length] | value);
        }
        used += length;
    }
    out[used] = 0;
    return used;
}
