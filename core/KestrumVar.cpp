#include "KestrumVar.h"

namespace kestrum {

bool BatchMode = false;
std::string ProgramDir;
std::string LastDir;
std::string Gp4ExePath;
bool TrackFileValid = false;
bool MagicFileValid = false;
TrackTableArray TrackTable{};
DescriptionArray DescriptionTable{};
NameValueList GP4InfoList;
std::int32_t GP4InfoPos = 0;

} // namespace kestrum

std::string PadString(std::string_view text, std::size_t width, std::string_view fill, bool right) {
    std::string out(text);
    if (out.size() >= width)
        return out;
    const char c = fill.empty() ? ' ' : fill.front();
    std::string pad(width - out.size(), c);
    return right ? out + pad : pad + out;
}
