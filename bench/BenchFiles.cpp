#include "BenchFiles.h"

#include <random>

fileio::Bytes PseudoRandomBytes(std::size_t n) {
    std::mt19937_64 rng(20260101);
    fileio::Bytes bytes(n);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v = rng();
        for (int k = 0; k < 8; ++k)
            bytes[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    for (; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(rng());
    return bytes;
}

const TempDir& BenchDir() {
    static const TempDir dir;
    return dir;
}
