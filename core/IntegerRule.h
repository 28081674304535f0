// Reading whole numbers from text.
//
// ParseMagicInteger is the magic text compiler's forgiving rule: leading
// blanks are skipped; a decimal number is an optional sign and digits; a
// hexadecimal one is "$", "x", "X", "0x" or "0X" and hex digits, no sign, its
// values 0x80000000..0xFFFFFFFF being the negative integers with those bits.
// A text that is exactly such a number gives its value. Any other text gives
// the magnitude of the digits read before the first character that does not
// belong (without the sign), 0 when there were none. A digit that would take
// the number beyond 32 bits counts as such a character.
//
// ParseTrackNumber is the strict rule of the track-number question: the same
// numbers, but nothing may follow the digits, and an empty text or one beyond
// 32 bits is no number at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

std::int32_t ParseMagicInteger(std::string_view text);
std::optional<std::int32_t> ParseTrackNumber(std::string_view text);
