// The ILDA walker of the file check, held against the ILDA reader.
#include "formats/ilda_file.h"
#include "formats/ilda_walk.h"
#include "tests/fuzz/walk_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOneWalk(data, size, ReadIldaFrames, WalkIldaFile, false);
    return 0;
}
