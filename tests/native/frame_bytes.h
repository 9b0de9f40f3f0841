// Bytes of frame files as the tests build them by hand: space-padded names,
// and ILDA sections and records as other programs write them.
#pragma once

#include <string>

// Pads to 16 bytes with spaces.
std::string Padded(const std::string& text);

std::string Be16(unsigned v);

// An ILDA section header; number and total are deliberately odd values the
// reader must ignore.
std::string Header(int format, const std::string& name16, unsigned records, unsigned number = 77,
                   unsigned total = 5);

// Records by format. File Y is given as the file holds it; Z and colours
// are noise.
std::string Record0(int x, int fileY, int status);
std::string Record1(int x, int fileY, int status);
std::string Record4(int x, int fileY, int status);
std::string Record5(int x, int fileY, int status);

// A format 0 frame section of points points from base on, every second one
// blanked.
std::string Frame0(const std::string& name, int points, int base = 0);

// The closing header: no records.
std::string Closing();
