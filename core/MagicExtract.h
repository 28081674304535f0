// Getting the magic record stored in a track file back out as a magic text
// file. The track file is only ever read.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

// The stored record (tag excluded, terminator included) inside track's bytes,
// or an empty span when the magic offset does not point at the tag. A header,
// tag or record that runs past the end raises "Read beyond end of file".
std::span<const std::uint8_t> FindStoredRecord(std::span<const std::uint8_t> track);

using AskOutputFile = std::function<std::optional<std::string>()>;

// Writes the record stored in the track file at trackPath as a magic text
// file to the path askOutput gives (nothing written when it gives none).
// Nothing happens when the track file does not exist; a track file without a
// record shows "does NOT contain custom magic data". True when written.
bool ExtractMagicData(const std::string& trackPath, const AskOutputFile& askOutput);
