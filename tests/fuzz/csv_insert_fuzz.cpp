// The CSV reader in insert mode.
#include "formats/csv_file.h"
#include "tests/fuzz/read_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOneRead(data, size, ReadCsvFrames, 1);
    return 0;
}
