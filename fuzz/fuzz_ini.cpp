// The INI reader and writer on any text. A file read and written back is the
// same text; a value written reads back, from memory and from the saved file;
// writing it again changes nothing; and no other key changes its value.
#include "FuzzSupport.h"
#include "IniFile.h"
#include "PathRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string_view>

namespace {

// The names the program uses, in other spellings too, and a few that are not.
const char* const kSections[] = {"config", "CONFIG", "descriptions", "Descriptions", "other", ""};
const char* const kKeys[] = {"GP4exe", "gp4EXE", "lastdir", "desc1", "desc01", "desc139", "k"};

std::string Pick(FuzzedDataProvider& in, const char* const* names, std::size_t count) {
    if (in.ConsumeBool())
        return names[in.ConsumeIntegralInRange<std::size_t>(0, count - 1)];
    return in.ConsumeRandomLengthString(24);
}

bool Blank(char c) {
    return c == ' ' || c == '\t';
}

bool HasEdgeBlanks(std::string_view s) {
    return !s.empty() && (Blank(s.front()) || Blank(s.back()));
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// A section name that "[name]" gives back.
bool GoodSection(std::string_view s) {
    return !HasLineBreak(s) && !HasEdgeBlanks(s) && s.find(']') == std::string_view::npos;
}

// A key that "key=value" gives back.
bool GoodKey(std::string_view k) {
    return !k.empty() && !HasLineBreak(k) && !HasEdgeBlanks(k) &&
           k.find('=') == std::string_view::npos && k.front() != ';' && k.front() != '#' &&
           k.front() != '[';
}

// A value that reads back as written: blanks at its edges are not kept.
bool GoodValue(std::string_view v) {
    return !HasLineBreak(v) && !HasEdgeBlanks(v);
}

bool SameName(std::string_view a, std::string_view b) {
    return paths::LowerAscii(a) == paths::LowerAscii(b);
}

constexpr std::string_view kMissing = "\x01missing";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = Pick(in, kSections, std::size(kSections));
    const std::string key = Pick(in, kKeys, std::size(kKeys));
    const std::string value = in.ConsumeRandomLengthString(64);
    const std::string otherSection = Pick(in, kSections, std::size(kSections));
    const std::string otherKey = Pick(in, kKeys, std::size(kKeys));
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string path = fuzz::ScratchDir() + "/torvex4.ini";
    IniFile ini(path, text);
    FUZZ_CHECK(ini.ToText() == text);
    const std::string otherBefore = ini.ReadString(otherSection, otherKey, kMissing);

    try {
        ini.WriteString(section, key, value);
    } catch (const Error&) {
        FUZZ_CHECK(HasLineBreak(value));
        FUZZ_CHECK(ini.ToText() == text);
        return 0;
    }
    FUZZ_CHECK(!HasLineBreak(value));
    if (!GoodSection(section) || !GoodKey(key) || !GoodValue(value))
        return 0;

    FUZZ_CHECK(ini.ReadString(section, key, kMissing) == value);
    const std::string written = ini.ToText();
    const IniFile reread(path, written);
    FUZZ_CHECK(reread.ReadString(section, key, kMissing) == value);
    FUZZ_CHECK(reread.ToText() == written);
    if (!(SameName(section, otherSection) && SameName(key, otherKey)))
        FUZZ_CHECK(reread.ReadString(otherSection, otherKey, kMissing) == otherBefore);

    ini.WriteString(section, key, value);
    FUZZ_CHECK(ini.ToText() == written);

    // Saved and loaded through the file layer, every so often.
    if (size % 16 == 0) {
        ini.Save();
        const IniFile loaded(path);
        FUZZ_CHECK(loaded.ToText() == written);
        FUZZ_CHECK(fuzz::ReadFile(path) == fileio::Bytes(written.begin(), written.end()));
    }
    return 0;
}
