// The GP4info block: a short list of named text values that a track file may
// carry just before its trailing checksum.
//
//   block start - 1   0x00, by which the reader finds the block
//   block start       the marker "#GP4INFO|"
//                     per entry: name '|' value '|'
//   size - 5          the end mark '#'
//   size - 4          the trailing checksum
//
// The format has no escapes: a '|' or '#' inside a name or value would end a
// field when read back and shift or cut every later entry, so such lists are
// refused before anything is written.
#pragma once

#include "FileIO.h"
#include "NameValueList.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kGP4InfoMarker = "#GP4INFO|";
// The marker, the end mark and the checksum: the block start lies at least
// this far before the end of the file.
inline constexpr std::uint64_t kGP4InfoMinTail = 9 + 1 + 4;

struct GP4InfoBlock {
    std::uint64_t position = 0;       // of the marker's '#'
    std::vector<std::string> entries; // "name=value", in block order
};

// The block at the end of a track file's bytes, or nothing when there is none.
// The file must end in '#' and four checksum bytes; looking back from there,
// the first byte 0x00 followed by '#' gives the block start, which counts only
// when the marker "#GP4INFO|" stands there, at least kGP4InfoMinTail bytes
// before the end. Fields end at '|' or '#', the first '#' ends the block, and
// the fields pair up as name and value; the last entry formed (the empty field
// before the end mark, in a block as WriteGP4Info writes it) is not an entry.
std::optional<GP4InfoBlock> FindGP4InfoBlock(std::span<const std::uint8_t> file);

// No '|' and no '#'.
bool IsStorableGP4InfoText(std::string_view text);
// The index of the first entry whose name or value holds '|' or '#', or -1.
long FirstUnstorableEntry(const NameValueList& list);

// The block for list, marker to end mark (no checksum). Each entry i is
// written as Names(i), '|', Values(Names(i)), '|'.
std::string FormatGP4InfoBlock(const NameValueList& list);
// The track file with everything from position on replaced by the block for
// list and a new checksum. The header word at byte 8 is set to the new size
// - 4, the position of the checksum, when it lies before position.
fileio::Bytes BuildGP4InfoFile(std::span<const std::uint8_t> file, std::uint64_t position,
                               const NameValueList& list);

// Appends the entries of the track file's block to kestrum::GP4InfoList and
// sets kestrum::GP4InfoPos to the block's position. False, the list unchanged
// and the position unset (0), when the file does not exist or has no block.
// The file is only read.
bool ReadGP4Info(const std::string& trackPath);

// Rewrites the block of the track file from kestrum::GP4InfoList, at
// kestrum::GP4InfoPos as the last read of that file left it, or in place of
// the checksum when it is unset (the position is then set). The file is
// replaced in one step, checksum and header word at 8 repaired. False, with
// nothing written, when the file does not exist, when the list cannot be
// stored, or when the block is no longer at GP4InfoPos (both shown through
// Ui()).
bool WriteGP4Info(const std::string& trackPath);
