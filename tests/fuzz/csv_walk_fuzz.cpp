// The CSV walker of the file check, held against the CSV reader.
#include "formats/csv_file.h"
#include "formats/csv_walk.h"
#include "tests/fuzz/walk_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzOneWalk(data, size, ReadCsvFrames, WalkCsvFile, true);
    return 0;
}
