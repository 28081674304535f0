// The magic text writer: a MagicRecord (no tag) to the text the compiler
// reads back. Lines end in CR LF on every platform, since magic text files
// travel between users.
#pragma once

#include "KestrumVar.h"

#include <cstdint>
#include <span>
#include <string>

// The text of a magic file for record (at least the 296-byte fixed part; the
// terminator, when included, is never written). Value line k carries
// descriptions[k].
std::string FormatMagicText(std::span<const std::uint8_t> record,
                            const DescriptionArray& descriptions);

// Writes FormatMagicText(record, DescriptionTable) to path, creating or
// replacing it in one step.
void WriteMagicText(const std::uint8_t* record, std::size_t length, const std::string& path);
