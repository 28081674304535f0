#include "MagicExtract.h"

#include "FileIO.h"
#include "IoError.h"
#include "MagicLayout.h"
#include "MagicWriter.h"
#include "Messages.h"
#include "TrackFile.h"
#include "UserInterface.h"

#include <algorithm>

std::span<const std::uint8_t> FindStoredRecord(std::span<const std::uint8_t> track) {
    const std::uint64_t size = track.size();
    if (kMagicOffsetWord + 4 > size)
        throw IoError(IoError::kReadBeyondEnd);
    const std::uint64_t tag = fileio::LoadU32(track.data() + kMagicOffsetWord) + kTrackHeaderSize;
    if (tag + kMagicTag.size() > size)
        throw IoError(IoError::kReadBeyondEnd);
    if (!std::equal(kMagicTag.begin(), kMagicTag.end(),
                    track.begin() + static_cast<std::ptrdiff_t>(tag)))
        return {};
    // The terminator is looked for only after the fixed part, whose values
    // may well be 0xFFFF.
    const std::uint64_t start = tag + kMagicTag.size();
    for (std::uint64_t pos = start + kMagicFixedSize;; pos += 2) {
        if (pos + 2 > size)
            throw IoError(IoError::kReadBeyondEnd);
        if (fileio::LoadU16(track.data() + pos) == kMagicTerminator)
            return track.subspan(static_cast<std::size_t>(start),
                                 static_cast<std::size_t>(pos + 2 - start));
    }
}

bool ExtractMagicData(const std::string& trackPath, const AskOutputFile& askOutput) {
    if (!fileio::FileExists(trackPath))
        return false;
    const fileio::Bytes track = fileio::ReadWholeFile(trackPath);
    std::span<const std::uint8_t> record = FindStoredRecord(track);
    if (record.empty()) {
        Ui().ShowMessage(MessageType::Error, msg::kNoCustomMagic);
        return false;
    }
    std::optional<std::string> output = askOutput();
    if (!output)
        return false;
    WriteMagicText(record.data(), record.size(), *output);
    return true;
}
