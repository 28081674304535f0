// The magic text compiler: a magic text file in, MagicTag + MagicRecord out.
//
// The text is read line by line (a line ends at LF or CR LF; a lone CR is
// dropped; past the end come empty lines). Line 1 must be exactly
// "[GP4 magic file]". Lines 3 to 141 are the 139 values, each the text before
// its first ";" with blanks and control characters trimmed; the next three
// lines are skipped; every further non-empty line, up to the end or a Ctrl-Z
// at the start of a line, is a bump pair "first,second". Numbers follow
// ParseMagicInteger; lines are counted, labels never compared.
#pragma once

#include "FileIO.h"

#include <optional>
#include <span>
#include <string>

// The tag and the record compiled from the bytes of a magic text file, or
// nothing when its first line is not the magic header.
std::optional<fileio::Bytes> CompileMagicRecord(std::span<const std::uint8_t> text);

// Reads the magic text file at textPath, compiled in memory. Shows the
// "not a valid GP4 Magic file" error box and gives back nothing when it is not
// one; file failures raise an IoError.
std::optional<fileio::Bytes> CompileMagicTextFile(const std::string& textPath);

// Compiles textPath and writes the tag and the record to recordPath (created
// or replaced). False when the text is not a magic file; nothing is written.
bool CompileMagicText(const std::string& textPath, const std::string& recordPath);
