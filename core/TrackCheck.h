// Checking and repairing the two things every writer of a track file must
// keep right: the header word at 8 (the trailing checksum's position, file
// size - 4) and the trailing checksum itself.
#pragma once

#include "TrackFile.h"

#include <cstdint>
#include <span>
#include <string>

// A track file holds at least its header and its checksum.
inline constexpr std::uint64_t kMinTrackFileSize = kTrackHeaderSize + kChecksumSize;

struct TrackCheckResult {
    std::uint64_t size = 0;
    TrackChecksum stored;   // the last four bytes as they are
    TrackChecksum computed; // what they should be
    std::uint32_t sizeWord = 0;
    std::uint64_t expectedSizeWord = 0;

    bool LongEnough() const { return size >= kMinTrackFileSize; }
    bool ChecksumRight() const {
        return LongEnough() && stored.byteSum == computed.byteSum &&
               stored.rotatingSum == computed.rotatingSum;
    }
    bool SizeWordRight() const { return LongEnough() && sizeWord == expectedSizeWord; }
    bool AllRight() const { return ChecksumRight() && SizeWordRight(); }
};

// Looks at a whole track file's bytes. A file shorter than kMinTrackFileSize
// has nothing to compare: LongEnough() is false and nothing counts as right.
TrackCheckResult CheckTrack(std::span<const std::uint8_t> file);

// Sets the word at 8 to the size - 4 and stores the checksum. Raises an Error
// when the file is shorter than kMinTrackFileSize or too large for the word.
void RepairTrack(std::span<std::uint8_t> file);

// Checks the track file at path and, when anything is wrong, rewrites it
// repaired in one atomic step. Gives back the check made before the repair.
// A file too short to repair raises an Error and is left as it is.
TrackCheckResult RepairTrackFile(const std::string& path);
