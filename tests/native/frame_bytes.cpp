// Hand-built frame file bytes for the tests.
#include "tests/native/frame_bytes.h"

std::string Padded(const std::string& text) {
    return text + std::string(16 - text.size(), ' ');
}

std::string Be16(unsigned v) {
    return std::string{(char)((v >> 8) & 0xFF), (char)(v & 0xFF)};
}

std::string Header(int format, const std::string& name16, unsigned records, unsigned number,
                   unsigned total) {
    std::string h = std::string("ILDA\0\0\0", 7) + (char)format + name16;
    return h + Be16(records) + Be16(number) + Be16(total) + std::string("\x03\x00", 2);
}

std::string Record0(int x, int fileY, int status) {
    return Be16((unsigned)x) + Be16((unsigned)fileY) + Be16(0x1234) + (char)status + '\x2A';
}

std::string Record1(int x, int fileY, int status) {
    return Be16((unsigned)x) + Be16((unsigned)fileY) + (char)status + '\x2A';
}

std::string Record4(int x, int fileY, int status) {
    return Be16((unsigned)x) + Be16((unsigned)fileY) + Be16(0x4321) + (char)status + "\x11\x22\x33";
}

std::string Record5(int x, int fileY, int status) {
    return Be16((unsigned)x) + Be16((unsigned)fileY) + (char)status + "\x11\x22\x33";
}

std::string Frame0(const std::string& name, int points, int base) {
    std::string s = Header(0, Padded(name), (unsigned)points);
    for (int i = 0; i < points; ++i) s += Record0(base + i, -(base + i), (i & 1) ? 0x40 : 0);
    return s;
}

std::string Closing() {
    return Header(0, std::string(16, '\0'), 0);
}
