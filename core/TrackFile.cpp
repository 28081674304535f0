#include "TrackFile.h"

#include "IoError.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"
#include "Messages.h"
#include "PathRules.h"
#include "UserInterface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

using fileio::LoadU32;
using fileio::StoreU16;
using fileio::StoreU32;

TrackChecksum ComputeChecksum(std::span<const std::uint8_t> file) {
    TrackChecksum sum;
    if (file.size() < kChecksumSize)
        return sum;
    const std::size_t m = file.size() - kChecksumSize;
    // The rotating sum starts from byte 0 even when that byte is part of the
    // checksum itself (a four-byte file).
    std::uint16_t byteSum = 0;
    std::uint16_t rot = file[0];
    if (m >= 1)
        byteSum = file[0];
    for (std::size_t i = 1; i < m; ++i) {
        byteSum = static_cast<std::uint16_t>(byteSum + file[i]);
        rot = static_cast<std::uint16_t>(Rol16(rot, 3) + file[i]);
    }
    sum.byteSum = byteSum;
    sum.rotatingSum = rot;
    return sum;
}

void StoreChecksum(std::span<std::uint8_t> file) {
    TrackChecksum sum = ComputeChecksum(file);
    std::uint8_t* end = file.data() + file.size() - kChecksumSize;
    StoreU16(end, sum.byteSum);
    StoreU16(end + 2, sum.rotatingSum);
}

bool ChecksumIsRight(std::span<const std::uint8_t> file) {
    if (file.size() < kChecksumSize)
        return false;
    TrackChecksum sum = ComputeChecksum(file);
    const std::uint8_t* end = file.data() + file.size() - kChecksumSize;
    return fileio::LoadU16(end) == sum.byteSum && fileio::LoadU16(end + 2) == sum.rotatingSum;
}

bool UpdateChecksum(const std::string& trackPath) {
    try {
        fileio::BinaryFile file(trackPath, fileio::Access::ReadWrite);
        const std::uint64_t n = file.Size();
        if (n < kChecksumSize)
            return false;
        fileio::Bytes data(static_cast<std::size_t>(n));
        file.ReadAt(0, data.data(), data.size());
        StoreChecksum(data);
        file.WriteAt(n - kChecksumSize, data.data() + n - kChecksumSize, kChecksumSize);
        file.Close();
        return true;
    } catch (const Error&) {
        return false;
    }
}

namespace {

std::uint32_t WordAt(std::span<const std::uint8_t> track, std::uint64_t pos) {
    if (pos + 4 > track.size())
        throw IoError(IoError::kReadBeyondEnd);
    return LoadU32(track.data() + pos);
}

} // namespace

InsertionOutcome PlanInsertion(std::span<const std::uint8_t> track,
                               std::span<const std::uint8_t> taggedRecord) {
    const std::uint64_t size = track.size();
    const std::uint64_t magic = WordAt(track, kMagicOffsetWord);
    const std::uint64_t next = WordAt(track, kNextOffsetWord);
    const std::uint64_t tailStart = next + kTrackHeaderSize;
    if (tailStart > size)
        throw IoError(IoError::kReadBeyondEnd);

    // A stored record sits at the magic offset when its tag is there.
    bool stored = false;
    if (magic + kTrackHeaderSize < size) {
        const std::uint64_t at = magic + kTrackHeaderSize;
        if (at + kMagicTag.size() > size)
            throw IoError(IoError::kReadBeyondEnd);
        stored = std::equal(kMagicTag.begin(), kMagicTag.end(),
                            track.begin() + static_cast<std::ptrdiff_t>(at));
    }
    if (stored && next < magic)
        return {std::nullopt, msg::kNextBeforeMagic};
    // The tail carries the old checksum; with fewer than four bytes the new
    // checksum would land on the record itself.
    if (size - tailStart < kChecksumSize)
        return {std::nullopt, msg::kNoRoomForChecksum};

    const std::uint64_t offset = stored ? magic : next;
    const std::uint64_t headEnd = offset + kTrackHeaderSize;
    const std::uint64_t tailSize = size - tailStart;
    const std::uint64_t newSize = headEnd + taggedRecord.size() + tailSize;
    if (newSize > std::numeric_limits<std::uint32_t>::max() ||
        newSize > std::numeric_limits<std::size_t>::max())
        return {std::nullopt, msg::kTrackTooLarge};

    InsertionPlan plan;
    plan.offset = offset;
    plan.replaced = stored;
    plan.file.reserve(static_cast<std::size_t>(newSize));
    plan.file.insert(plan.file.end(), track.begin(),
                     track.begin() + static_cast<std::ptrdiff_t>(headEnd));
    plan.file.insert(plan.file.end(), taggedRecord.begin(), taggedRecord.end());
    plan.file.insert(plan.file.end(), track.begin() + static_cast<std::ptrdiff_t>(tailStart),
                     track.end());

    StoreU32(plan.file.data() + kChecksumOffsetWord,
             static_cast<std::uint32_t>(newSize - kChecksumSize));
    StoreU32(plan.file.data() + kMagicOffsetWord, static_cast<std::uint32_t>(offset));
    StoreU32(plan.file.data() + kNextOffsetWord,
             static_cast<std::uint32_t>(offset + taggedRecord.size()));
    StoreChecksum(plan.file);
    return {std::move(plan), {}};
}

std::string BackupPathFor(const std::string& trackPath) {
    return paths::ChangeFileExt(trackPath, ".bak");
}

bool InsertMagicData(const std::string& magicTextPath, const std::string& trackPath) {
    if (!fileio::FileExists(magicTextPath) || !fileio::FileExists(trackPath)) {
        Ui().ShowMessage(MessageType::Error, msg::kFileNotFound);
        return false;
    }
    BusyCursor busy;

    auto record = CompileMagicTextFile(magicTextPath);
    if (!record)
        return false;

    const fileio::Bytes track = fileio::ReadWholeFile(trackPath);
    InsertionOutcome outcome = PlanInsertion(track, *record);
    if (!outcome.plan) {
        Ui().ShowMessage(MessageType::Error, outcome.refusal);
        return false;
    }

    if (Ui().BackupWanted()) {
        const std::string backup = BackupPathFor(trackPath);
        try {
            fileio::ReplaceFileAtomically(backup, track);
        } catch (const Error& e) {
            char text[4096];
            std::snprintf(text, sizeof text, msg::kBackupFailed, backup.c_str(), e.what());
            Ui().ShowMessage(MessageType::Error, text);
            return false;
        }
    }

    fileio::ReplaceFileAtomically(trackPath, outcome.plan->file);
    Ui().SetStatusText(msg::kDone);
    return true;
}
