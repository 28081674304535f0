#include "TrackCheck.h"

#include "FileIO.h"
#include "IoError.h"
#include "Messages.h"

#include <cstdio>
#include <limits>

TrackCheckResult CheckTrack(std::span<const std::uint8_t> file) {
    TrackCheckResult r;
    r.size = file.size();
    if (!r.LongEnough())
        return r;
    const std::uint8_t* end = file.data() + file.size() - kChecksumSize;
    r.stored.byteSum = fileio::LoadU16(end);
    r.stored.rotatingSum = fileio::LoadU16(end + 2);
    r.computed = ComputeChecksum(file);
    r.sizeWord = fileio::LoadU32(file.data() + kChecksumOffsetWord);
    r.expectedSizeWord = r.size - kChecksumSize;
    return r;
}

void RepairTrack(std::span<std::uint8_t> file) {
    if (file.size() < kMinTrackFileSize) {
        char text[256];
        std::snprintf(text, sizeof text, msg::kTrackTooShort,
                      static_cast<unsigned long long>(file.size()),
                      static_cast<unsigned long long>(kMinTrackFileSize));
        throw Error(text);
    }
    const std::uint64_t sizeWord = file.size() - kChecksumSize;
    if (sizeWord > std::numeric_limits<std::uint32_t>::max())
        throw Error(msg::kTrackBeyond4Gb);
    fileio::StoreU32(file.data() + kChecksumOffsetWord, static_cast<std::uint32_t>(sizeWord));
    StoreChecksum(file);
}

TrackCheckResult RepairTrackFile(const std::string& path) {
    fileio::Bytes file = fileio::ReadWholeFile(path);
    const TrackCheckResult before = CheckTrack(file);
    if (before.AllRight())
        return before;
    RepairTrack(file);
    fileio::ReplaceFileAtomically(path, file);
    return before;
}
