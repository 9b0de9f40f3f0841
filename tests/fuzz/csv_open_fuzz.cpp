// The CSV reader in open mode.
#include "formats/csv_file.h"
#include "tests/fuzz/read_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOneRead(data, size, ReadCsvFrames, 0);
    return 0;
}
