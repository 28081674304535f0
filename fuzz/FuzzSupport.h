// Shared by the fuzz targets: a property check that turns into a crash the
// fuzzer keeps, and a scratch folder for the targets that work on real files.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

// A property that does not hold is reported like a crash, so that libFuzzer
// saves the input that shows it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s at %s:%d\n", #condition, __FILE__,           \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// One folder per process, on a memory file system when there is one (the
// atomic replacement syncs every file), removed when the process ends.
const std::string& ScratchDir();

// The names of the files in the scratch folder, sorted.
std::vector<std::string> ScratchEntries();
// Removes everything in the scratch folder.
void ClearScratch();

void WriteFile(const std::string& path, std::span<const std::uint8_t> data);
fileio::Bytes ReadFile(const std::string& path);

inline std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

} // namespace fuzz
