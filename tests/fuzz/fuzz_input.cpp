// The fuzz targets' input file.
#include "tests/fuzz/fuzz_input.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

char inputPath[4096];

void RemoveInput() {
    std::remove(inputPath);
}

}  // namespace

void FuzzRequire(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "\nfuzz invariant broken: %s\n", what);
    std::abort();
}

const char* FuzzInputPath() {
    if (inputPath[0]) return inputPath;
    const char* folder = std::getenv("TMPDIR");
    if (!folder || !folder[0]) folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::snprintf(inputPath, sizeof inputPath, "%s/quillon-fuzz-%d.input", folder, (int)getpid());
    std::atexit(RemoveInput);
    return inputPath;
}

void WriteFuzzInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(FuzzInputPath(), "wb");
    FuzzRequire(file != nullptr, "cannot create the input file");
    FuzzRequire(size == 0 || std::fwrite(data, 1, size, file) == size,
                "cannot write the input file");
    FuzzRequire(std::fclose(file) == 0, "cannot write the input file");
}
