// Small file helpers the benchmarks share.
#pragma once

#include <string>

// The size of a file in bytes, 0 when it cannot be opened.
long long BenchFileSize(const std::string& path);
