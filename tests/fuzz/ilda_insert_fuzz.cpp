// The ILDA reader in insert mode.
#include "formats/ilda_file.h"
#include "tests/fuzz/read_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOneRead(data, size, ReadIldaFrames, 1);
    return 0;
}
