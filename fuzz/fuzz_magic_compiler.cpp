// The magic text compiler on any bytes. A text that compiles gives a
// well-formed tagged record, and writing that record as text and compiling
// the text again gives the same record byte for byte.
#include "FuzzSupport.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"
#include "MagicWriter.h"

#include <algorithm>
#include <string_view>

namespace {

// Descriptions that look like values, separators and bump lines: none of them
// may change what the compiler reads back.
const DescriptionArray& Descriptions() {
    static const DescriptionArray table = [] {
        DescriptionArray d;
        const char* samples[] = {"",    ";",           "12",   "$1F; more",   "5,7",
                                 " , ", "[bumptable]", "\x1A", "-2147483648", "x"};
        for (std::size_t k = 1; k < d.size(); ++k)
            d[k] = samples[k % (sizeof samples / sizeof samples[0])];
        return d;
    }();
    return table;
}

// The first line as the compiler sees it: up to LF, CRs dropped.
std::string FirstLine(std::span<const std::uint8_t> text) {
    std::string line;
    for (std::uint8_t c : text) {
        if (c == '\n')
            break;
        if (c != '\r')
            line += static_cast<char>(c);
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> text(data, size);
    const std::optional<fileio::Bytes> record = CompileMagicRecord(text);
    FUZZ_CHECK(record.has_value() == (FirstLine(text) == "[GP4 magic file]"));
    if (!record)
        return 0;

    // Tag, fixed part, whole bump pairs, terminator.
    FUZZ_CHECK(record->size() >= kMagicTag.size() + kMagicMinRecordSize);
    FUZZ_CHECK((record->size() - kMagicTag.size() - kMagicMinRecordSize) % 4 == 0);
    FUZZ_CHECK(std::equal(kMagicTag.begin(), kMagicTag.end(), record->begin()));
    FUZZ_CHECK(fileio::LoadU16(record->data() + record->size() - 2) == kMagicTerminator);

    const std::span<const std::uint8_t> untagged(record->data() + kMagicTag.size(),
                                                 record->size() - kMagicTag.size());
    const std::string written = FormatMagicText(untagged, Descriptions());
    const std::optional<fileio::Bytes> again = CompileMagicRecord(fuzz::AsBytes(written));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(*again == *record);
    // And the text is a fixed point: writing the record again gives the same text.
    FUZZ_CHECK(FormatMagicText(std::span<const std::uint8_t>(again->data() + kMagicTag.size(),
                                                             again->size() - kMagicTag.size()),
                               Descriptions()) == written);
    return 0;
}
