// The file every fuzz input is written to before a reader, walker or
// writer takes it: in the folder make fuzz gives (in memory), else in
// memory-backed storage where the system has it, removed at exit. Also the
// shared way a target gives up on a broken rule.
#pragma once

#include <cstddef>
#include <cstdint>

// The input file's path, made on first use.
const char* FuzzInputPath();

// Writes data to the input file; aborts when it cannot.
void WriteFuzzInput(const uint8_t* data, size_t size);

// Aborts with "fuzz invariant broken: what" on stderr, unless holds.
void FuzzRequire(bool holds, const char* what);
