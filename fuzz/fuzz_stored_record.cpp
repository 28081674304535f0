// Finding the record stored in a track file, on any bytes. The answer is an
// I/O error, no record (the tag is not at the magic offset), or a span inside
// the file that follows the tag, holds the fixed part and ends at the first
// 0xFFFF after it. Written as text and compiled, that record comes back; a
// bump table that ends in half a pair gets the terminator as its other half.
#include "FuzzSupport.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicExtract.h"
#include "MagicLayout.h"
#include "MagicWriter.h"
#include "TrackFile.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> track(data, size);
    std::span<const std::uint8_t> record;
    try {
        record = FindStoredRecord(track);
    } catch (const IoError& e) {
        FUZZ_CHECK(e.Code() == IoError::kReadBeyondEnd);
        return 0;
    }
    FUZZ_CHECK(size >= kMagicOffsetWord + 4);
    const std::uint64_t tag = fileio::LoadU32(data + kMagicOffsetWord) + kTrackHeaderSize;
    FUZZ_CHECK(tag + kMagicTag.size() <= size);
    const bool tagThere = std::equal(kMagicTag.begin(), kMagicTag.end(), data + tag);
    if (record.empty()) {
        FUZZ_CHECK(!tagThere);
        return 0;
    }
    FUZZ_CHECK(tagThere);
    FUZZ_CHECK(record.data() == data + tag + kMagicTag.size());
    FUZZ_CHECK(record.data() + record.size() <= data + size);
    FUZZ_CHECK(record.size() >= kMagicMinRecordSize && record.size() % 2 == 0);
    FUZZ_CHECK(fileio::LoadU16(record.data() + record.size() - 2) == kMagicTerminator);
    for (std::size_t pos = kMagicFixedSize; pos + 2 < record.size(); pos += 2)
        FUZZ_CHECK(fileio::LoadU16(record.data() + pos) != kMagicTerminator);

    DescriptionArray descriptions;
    const std::string text = FormatMagicText(record, descriptions);
    const std::optional<fileio::Bytes> compiled = CompileMagicRecord(fuzz::AsBytes(text));
    FUZZ_CHECK(compiled.has_value());
    // Pairs are written while both their words lie in the record: an odd
    // number of bump words makes the terminator the last pair's second word.
    const std::size_t bumpWords = (record.size() - kMagicFixedSize) / 2;
    const std::size_t pairs = bumpWords / 2;
    fileio::Bytes expected(kMagicTag.begin(), kMagicTag.end());
    expected.insert(expected.end(), record.begin(),
                    record.begin() + static_cast<std::ptrdiff_t>(kMagicFixedSize + pairs * 4));
    expected.push_back(0xFF);
    expected.push_back(0xFF);
    FUZZ_CHECK(*compiled == expected);
    return 0;
}
