// Inputs shared by the benchmarks: reproducible pseudo-random bytes and a
// scratch folder that lives for the whole run.
#pragma once

#include "FileIO.h"
#include "TestSupport.h"

#include <cstddef>

inline constexpr std::size_t kBigTrackSize = 64u << 20; // 64 MiB

// n bytes of a fixed pseudo-random sequence.
fileio::Bytes PseudoRandomBytes(std::size_t n);

// The scratch folder of the run (under TMPDIR).
const TempDir& BenchDir();
