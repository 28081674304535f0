// Program-wide state and small shared helpers. One instance of each variable
// lives for the whole run.
#pragma once

#include "NameValueList.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A built-in magic record in GP4.EXE: the file offset of its first byte and
// its length, terminator included.
struct TrackTableEntry {
    std::int32_t offset = 0;
    std::int32_t length = 0;
};

inline constexpr int kTrackCount = 17;
inline constexpr int kDescriptionCount = 139;
inline constexpr std::size_t kDescriptionMaxLength = 255;

// Indexed 1 to kTrackCount; entry 0 is unused.
using TrackTableArray = std::array<TrackTableEntry, kTrackCount + 1>;
// Indexed 1 to kDescriptionCount; entry 0 is unused.
using DescriptionArray = std::array<std::string, kDescriptionCount + 1>;

namespace kestrum {

extern bool BatchMode;
extern std::string ProgramDir;
extern std::string LastDir;
extern std::string Gp4ExePath;
extern bool TrackFileValid;
extern bool MagicFileValid;
extern TrackTableArray TrackTable;
extern DescriptionArray DescriptionTable;
extern NameValueList GP4InfoList;
extern std::int32_t GP4InfoPos;

} // namespace kestrum

// text padded with the first character of fill (a blank when fill is empty)
// to width characters, on the right when right is true, else on the left.
std::string PadString(std::string_view text, std::size_t width, std::string_view fill, bool right);

// The 16-bit value x rotated left by n bits (0 <= n < 16).
constexpr std::uint16_t Rol16(std::uint16_t x, unsigned n) {
    n &= 15;
    return n == 0 ? x : static_cast<std::uint16_t>((x << n) | (x >> (16 - n)));
}
