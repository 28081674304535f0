// The built-in magic records of the game's executable. Only the build of
// exactly kGp4ExeSize bytes is supported; its size is the only thing that
// identifies it. A table of 17 little-endian addresses (track 1 first) at
// kGp4ExeTableOffset gives where each record starts; a record has no tag.
// Records 1 to 16 are followed by four bytes before the next one starts, so
// their lengths follow from the addresses; record 17's length is found by
// looking for its terminator.
//
// GP4.EXE is the game's file, not ours: it is opened for reading only and its
// attributes are never changed.
#pragma once

#include "KestrumVar.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

inline constexpr std::uint64_t kGp4ExeSize = 6275072;
inline constexpr std::uint64_t kGp4ExeTableOffset = 2282212;
inline constexpr std::uint32_t kGp4ExeImageBase = 0x400000;
inline constexpr std::size_t kGp4ExeTableSize = 4 * kTrackCount;

// The offsets of all 17 records and the lengths of records 1 to 16 from the
// table's bytes, in 32-bit arithmetic as the game computes them; the length
// of record 17 is left as it is.
void DecodeTrackTable(std::span<const std::uint8_t, kGp4ExeTableSize> table,
                      TrackTableArray& entries);

// Fills kestrum::TrackTable from the file at path. False, with the table
// untouched, when the file's size is not kGp4ExeSize. A file that cannot be
// opened raises an IoError (table untouched). Record 17's terminator missing
// before the end of the file, or a record 17 that starts outside it, raises
// "Read beyond end of file"; the offsets and lengths 1 to 16 are then already
// replaced, length 17 keeps its old value.
bool ReadExeTrackTable(const std::string& path);

// Why an entry cannot be written out of a file of fileSize bytes (a message
// for the user), or empty when it can: its record must start inside the file,
// be at least a record without bump pairs long, and end inside the file.
std::string TrackEntryProblem(int track, const TrackTableEntry& entry, std::uint64_t fileSize);

// The question for the track number: gives back the text typed (the initial
// text "1" when cancelled).
using AskTrackNumber = std::function<std::string()>;

// The question asked through Ui(), with the command's caption and prompt.
std::string AskTrackNumberThroughUi();

// The menu command "Create magic file from GP4.EXE": asks for a track number
// (1 to 17; anything else ends the command silently), checks its table entry
// (a bad one is refused with a message, nothing written), reads the record
// out of exePath and writes it as MagicFileNameForTrack(n) in the current
// folder. Gives back the name written, or empty when nothing was written.
std::string CreateMagicFileFromExe(const std::string& exePath, const AskTrackNumber& ask);

// "magic4_07.md3" for 7.
std::string MagicFileNameForTrack(int track);
