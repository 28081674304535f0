// The layout of the binary magic record, shared by the compiler (text to
// record) and the writer (record to text): both walk this one table.
//
// A record is little-endian: a 296-byte fixed part of 139 values in ten
// groups, then bump pairs of two unsigned 16-bit words, then the terminator
// 0xFFFF. Stored in a track file or a record file it is preceded by the tag
// "MA03".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

enum class MagicEncoding {
    PairWord, // two values, one per byte, each stored as (v + 151) mod 256
    BytePair, // two values, one per byte, stored as their low 8 bits
    Unsigned16,
    Signed32,
};

struct MagicGroup {
    char name;
    std::uint32_t offset; // from the first byte after the tag
    std::uint32_t width;  // bytes per item
    std::uint32_t items;
    MagicEncoding encoding;
    int firstLine; // the value line (1 to 139) of the group's first value
};

inline constexpr std::array<MagicGroup, 10> kMagicGroups{{
    {'A', 0, 2, 12, MagicEncoding::PairWord, 1},
    {'B', 24, 4, 1, MagicEncoding::Signed32, 25},
    {'C', 28, 2, 4, MagicEncoding::PairWord, 26},
    {'D', 36, 4, 1, MagicEncoding::Signed32, 34},
    {'E', 40, 2, 1, MagicEncoding::BytePair, 35},
    {'F', 42, 2, 37, MagicEncoding::Unsigned16, 37},
    {'G', 116, 4, 4, MagicEncoding::Signed32, 74},
    {'H', 132, 2, 4, MagicEncoding::Unsigned16, 78},
    {'I', 140, 4, 20, MagicEncoding::Signed32, 82},
    {'J', 220, 2, 38, MagicEncoding::Unsigned16, 102},
}};

inline constexpr std::array<std::uint8_t, 4> kMagicTag{'M', 'A', '0', '3'};
inline constexpr std::size_t kMagicFixedSize = 296;
inline constexpr std::size_t kMagicValueLines = 139;
inline constexpr std::uint16_t kMagicTerminator = 0xFFFF;
inline constexpr int kPairWordBias = 151;
// A record with no bump pairs: the fixed part and the terminator.
inline constexpr std::size_t kMagicMinRecordSize = kMagicFixedSize + 2;

// How many value lines one item of the encoding carries.
constexpr int LinesPerItem(MagicEncoding e) {
    return e == MagicEncoding::PairWord || e == MagicEncoding::BytePair ? 2 : 1;
}

// Stores the values of one item (one or two lines) at item.
void EncodeItem(MagicEncoding e, const std::int32_t* values, std::uint8_t* item);
// Reads the values of one item back.
void DecodeItem(MagicEncoding e, const std::uint8_t* item, std::int32_t* values);

// The 139 values of a fixed part, indexed 0 to 138 (line 1 at 0).
using MagicValues = std::array<std::int32_t, kMagicValueLines>;
void EncodeFixedPart(const MagicValues& values, std::span<std::uint8_t, kMagicFixedSize> fixed);
MagicValues DecodeFixedPart(std::span<const std::uint8_t, kMagicFixedSize> fixed);
