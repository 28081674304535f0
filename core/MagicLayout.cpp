#include "MagicLayout.h"

#include "FileIO.h"

using fileio::LoadU16;
using fileio::LoadU32;
using fileio::StoreU16;
using fileio::StoreU32;

void EncodeItem(MagicEncoding e, const std::int32_t* values, std::uint8_t* item) {
    switch (e) {
    case MagicEncoding::PairWord:
        item[0] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(values[0]) + kPairWordBias);
        item[1] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(values[1]) + kPairWordBias);
        break;
    case MagicEncoding::BytePair:
        item[0] = static_cast<std::uint8_t>(values[0]);
        item[1] = static_cast<std::uint8_t>(values[1]);
        break;
    case MagicEncoding::Unsigned16:
        StoreU16(item, static_cast<std::uint16_t>(values[0]));
        break;
    case MagicEncoding::Signed32:
        StoreU32(item, static_cast<std::uint32_t>(values[0]));
        break;
    }
}

void DecodeItem(MagicEncoding e, const std::uint8_t* item, std::int32_t* values) {
    switch (e) {
    case MagicEncoding::PairWord:
        values[0] = static_cast<std::int32_t>(item[0]) - kPairWordBias;
        values[1] = static_cast<std::int32_t>(item[1]) - kPairWordBias;
        break;
    case MagicEncoding::BytePair:
        values[0] = item[0];
        values[1] = item[1];
        break;
    case MagicEncoding::Unsigned16:
        values[0] = LoadU16(item);
        break;
    case MagicEncoding::Signed32:
        values[0] = static_cast<std::int32_t>(LoadU32(item));
        break;
    }
}

void EncodeFixedPart(const MagicValues& values, std::span<std::uint8_t, kMagicFixedSize> fixed) {
    for (const MagicGroup& g : kMagicGroups) {
        const int lines = LinesPerItem(g.encoding);
        for (std::uint32_t k = 0; k < g.items; ++k) {
            const std::size_t line = static_cast<std::size_t>(g.firstLine - 1) + k * lines;
            EncodeItem(g.encoding, &values[line], &fixed[g.offset + k * g.width]);
        }
    }
}

MagicValues DecodeFixedPart(std::span<const std::uint8_t, kMagicFixedSize> fixed) {
    MagicValues values{};
    for (const MagicGroup& g : kMagicGroups) {
        const int lines = LinesPerItem(g.encoding);
        for (std::uint32_t k = 0; k < g.items; ++k) {
            const std::size_t line = static_cast<std::size_t>(g.firstLine - 1) + k * lines;
            DecodeItem(g.encoding, &fixed[g.offset + k * g.width], &values[line]);
        }
    }
    return values;
}
