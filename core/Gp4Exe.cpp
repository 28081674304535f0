#include "Gp4Exe.h"

#include "FileIO.h"
#include "IntegerRule.h"
#include "IoError.h"
#include "MagicLayout.h"
#include "MagicWriter.h"
#include "Messages.h"
#include "UserInterface.h"

#include <cstdio>

void DecodeTrackTable(std::span<const std::uint8_t, kGp4ExeTableSize> table,
                      TrackTableArray& entries) {
    // Addresses below the image base wrap around to negative offsets, as the
    // game's own 32-bit arithmetic does; TrackEntryProblem refuses them later.
    for (int k = 1; k <= kTrackCount; ++k) {
        const std::uint32_t address = fileio::LoadU32(table.data() + 4 * (k - 1));
        entries[k].offset = static_cast<std::int32_t>(address - kGp4ExeImageBase);
    }
    for (int k = 1; k < kTrackCount; ++k) {
        const std::uint32_t next = static_cast<std::uint32_t>(entries[k + 1].offset);
        const std::uint32_t self = static_cast<std::uint32_t>(entries[k].offset);
        entries[k].length = static_cast<std::int32_t>(next - self - 4);
    }
}

namespace {

// The length of the record at offset, terminator included: the first 0xFFFF
// word after its fixed part ends it (fixed values may well be 0xFFFF).
std::int32_t ScanRecordLength(const fileio::BinaryFile& file, std::int32_t offset) {
    const std::uint64_t size = file.Size();
    const std::int64_t start = static_cast<std::int64_t>(offset) + kMagicFixedSize;
    if (start < 0 || static_cast<std::uint64_t>(start) >= size)
        throw IoError(IoError::kReadBeyondEnd, file.Path());
    // Read in blocks rather than word by word; a block may end in half a word.
    constexpr std::size_t kBlock = 4096;
    std::uint8_t buffer[kBlock];
    std::uint64_t pos = static_cast<std::uint64_t>(start);
    while (true) {
        if (pos + 2 > size)
            throw IoError(IoError::kReadBeyondEnd, file.Path());
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, size - pos));
        file.ReadAt(pos, buffer, n);
        for (std::size_t i = 0; i + 1 < n; i += 2)
            if (fileio::LoadU16(buffer + i) == kMagicTerminator)
                return static_cast<std::int32_t>(pos + i + 2 - static_cast<std::uint64_t>(offset));
        pos += n & ~std::size_t{1};
    }
}

std::string TrackMessage(const char* format, int track, long long value) {
    char text[512];
    std::snprintf(text, sizeof text, format, track, value);
    return text;
}

} // namespace

bool ReadExeTrackTable(const std::string& path) {
    fileio::BinaryFile file(path, fileio::Access::ReadOnly);
    if (file.Size() != kGp4ExeSize)
        return false;
    std::uint8_t table[kGp4ExeTableSize];
    file.ReadAt(kGp4ExeTableOffset, table, sizeof table);
    DecodeTrackTable(table, kestrum::TrackTable);
    kestrum::TrackTable[kTrackCount].length =
        ScanRecordLength(file, kestrum::TrackTable[kTrackCount].offset);
    file.Close();
    return true;
}

std::string TrackEntryProblem(int track, const TrackTableEntry& entry, std::uint64_t fileSize) {
    const std::int64_t offset = entry.offset;
    const std::int64_t length = entry.length;
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= fileSize)
        return TrackMessage(msg::kExeRecordOutside, track, offset);
    if (length < static_cast<std::int64_t>(kMagicMinRecordSize))
        return TrackMessage(msg::kExeRecordTooShort, track, length);
    if (static_cast<std::uint64_t>(offset + length) > fileSize)
        return TrackMessage(msg::kExeRecordPastEnd, track, length);
    return {};
}

std::string AskTrackNumberThroughUi() {
    return Ui().AskText(msg::kCreateMagicCaption, msg::kTrackNumberPrompt,
                        msg::kTrackNumberInitial);
}

std::string MagicFileNameForTrack(int track) {
    return "magic4_" + PadString(std::to_string(track), 2, "0", false) + ".md3";
}

std::string CreateMagicFileFromExe(const std::string& exePath, const AskTrackNumber& ask) {
    const std::optional<std::int32_t> number = ParseTrackNumber(ask());
    if (!number || *number < 1 || *number > kTrackCount)
        return {};
    const int track = *number;
    const TrackTableEntry entry = kestrum::TrackTable[track];

    fileio::BinaryFile file(exePath, fileio::Access::ReadOnly);
    if (std::string problem = TrackEntryProblem(track, entry, file.Size()); !problem.empty()) {
        Ui().ShowMessage(MessageType::Error, problem);
        return {};
    }
    fileio::Bytes record(static_cast<std::size_t>(entry.length));
    file.ReadAt(static_cast<std::uint64_t>(entry.offset), record.data(), record.size());
    file.Close();

    const std::string name = MagicFileNameForTrack(track);
    WriteMagicText(record.data(), record.size(), name);
    return name;
}
