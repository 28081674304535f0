// Track files: the header words the program uses, the trailing checksum, and
// the insertion of a magic record.
//
//   byte 8   checksum offset  file size - 4, where the trailing checksum sits
//   byte 20  magic offset     the stored record's tag, counted from byte 32
//   byte 24  next offset      the section after the record, counted from byte 32
//
// The last four bytes of a track file are two little-endian words computed
// over everything before them: the byte sum, then the rotating sum.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

inline constexpr std::uint64_t kTrackHeaderSize = 32;
inline constexpr std::uint64_t kChecksumOffsetWord = 8;
inline constexpr std::uint64_t kMagicOffsetWord = 20;
inline constexpr std::uint64_t kNextOffsetWord = 24;
inline constexpr std::uint64_t kChecksumSize = 4;

struct TrackChecksum {
    std::uint16_t byteSum = 0;
    std::uint16_t rotatingSum = 0;
};

// The checksum of a whole track file's bytes: computed over all but the last
// four. A file of exactly four bytes has byte sum 0 and, as rotating sum, its
// first byte. Needs at least four bytes.
TrackChecksum ComputeChecksum(std::span<const std::uint8_t> file);
// Writes ComputeChecksum(file) into the last four bytes. Needs at least four.
void StoreChecksum(std::span<std::uint8_t> file);
// The trailing checksum matches the bytes before it.
bool ChecksumIsRight(std::span<const std::uint8_t> file);

// Recomputes and rewrites the trailing checksum in place. False when the file
// is shorter than four bytes or a file operation failed.
bool UpdateChecksum(const std::string& trackPath);

// The track file with a record (tag included) put in place of its stored one,
// or before its next section when it holds none; header words at 8, 20 and 24
// and the checksum repaired.
struct InsertionPlan {
    fileio::Bytes file;   // the complete new track file
    std::uint64_t offset; // where the record went, counted from byte 32
    bool replaced;        // a stored record was replaced
};
// Either the plan, or the reason the header is refused (a message for the
// user). A header or tag read beyond the end of the file raises the IoError
// "Read beyond end of file", as reading the file itself would.
struct InsertionOutcome {
    std::optional<InsertionPlan> plan;
    std::string refusal;
};
InsertionOutcome PlanInsertion(std::span<const std::uint8_t> track,
                               std::span<const std::uint8_t> taggedRecord);

// The whole insertion of a magic text file into a track file, reporting to the
// user through Ui(): "File not found!", the compiler's refusal, a damaged
// header, a backup that failed, "Done.". Gives back whether a record was
// inserted. I/O errors are raised; the track file is then unchanged.
bool InsertMagicData(const std::string& magicTextPath, const std::string& trackPath);

// The backup copy's path: the last extension replaced by ".bak".
std::string BackupPathFor(const std::string& trackPath);
