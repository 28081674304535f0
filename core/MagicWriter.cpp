#include "MagicWriter.h"

#include "FileIO.h"
#include "MagicLayout.h"

#include <stdexcept>

namespace {
constexpr const char* kEol = "\r\n";
constexpr std::size_t kValueWidth = 10;
} // namespace

std::string FormatMagicText(std::span<const std::uint8_t> record,
                            const DescriptionArray& descriptions) {
    if (record.size() < kMagicFixedSize)
        throw std::invalid_argument("a magic record holds at least its fixed part");

    const MagicValues values = DecodeFixedPart(
        std::span<const std::uint8_t, kMagicFixedSize>(record.data(), kMagicFixedSize));

    std::string out;
    const std::size_t words = record.size() / 2;
    out.reserve(140 * 40 + (words - kMagicFixedSize / 2) * 6);
    out += "[GP4 magic file]";
    out += kEol;
    out += kEol;
    for (std::size_t k = 1; k <= kMagicValueLines; ++k) {
        out += PadString(std::to_string(values[k - 1]), kValueWidth, " ", true);
        out += "; ";
        out += descriptions[k];
        out += kEol;
    }
    out += kEol;
    out += "[bumptable]";
    out += kEol;
    out += kEol;
    for (std::size_t w = kMagicFixedSize / 2; w + 1 < words; w += 2) {
        out += std::to_string(fileio::LoadU16(&record[2 * w]));
        out += ',';
        out += std::to_string(fileio::LoadU16(&record[2 * w + 2]));
        out += kEol;
    }
    return out;
}

void WriteMagicText(const std::uint8_t* record, std::size_t length, const std::string& path) {
    fileio::ReplaceFileAtomically(
        path, FormatMagicText(std::span(record, length), kestrum::DescriptionTable));
}
