// The GP4.EXE table reader on a sparse file of the supported size. The
// fuzzer's bytes give the 17 addresses and the bytes found behind record 17's
// fixed part; everything else is zero. The table read must match a plain
// re-computation (offsets and lengths in 32-bit arithmetic, record 17 ending
// at its first 0xFFFF word), or fail with "Read beyond end of file" having
// replaced all but length 17. When a track's entry passes the checks, the
// command writes a magic text file that compiles back to that record.
#include "FuzzSupport.h"
#include "Gp4Exe.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr std::size_t kPayloadMax = 4096;

struct Region {
    std::uint64_t start = 0;
    fileio::Bytes bytes;
    std::uint64_t End() const { return start + bytes.size(); }
};

class SparseExe {
  public:
    SparseExe() : path_(fuzz::ScratchDir() + "/GP4.EXE") {
        fuzz::WriteFile(path_, {});
        std::filesystem::resize_file(path_, kGp4ExeSize);
    }
    const std::string& Path() const { return path_; }

    // Lays the regions into the file (later ones win) and remembers them.
    void Lay(std::vector<Region> regions) {
        Clear();
        fileio::BinaryFile file(path_, fileio::Access::ReadWrite);
        for (const Region& r : regions)
            if (!r.bytes.empty())
                file.WriteAt(r.start, r.bytes.data(), r.bytes.size());
        file.Close();
        regions_ = std::move(regions);
    }

    // The byte at pos as the file holds it.
    std::uint8_t At(std::uint64_t pos) const {
        for (auto r = regions_.rbegin(); r != regions_.rend(); ++r)
            if (pos >= r->start && pos < r->End())
                return r->bytes[pos - r->start];
        return 0;
    }
    // The last byte that is not known to be zero, plus one.
    std::uint64_t DataEnd() const {
        std::uint64_t end = 0;
        for (const Region& r : regions_)
            end = std::max(end, r.End());
        return end;
    }

  private:
    void Clear() {
        fileio::BinaryFile file(path_, fileio::Access::ReadWrite);
        for (const Region& r : regions_) {
            const fileio::Bytes zeros(r.bytes.size(), 0);
            if (!zeros.empty())
                file.WriteAt(r.start, zeros.data(), zeros.size());
        }
        file.Close();
    }

    std::string path_;
    std::vector<Region> regions_;
};

SparseExe& Exe() {
    static SparseExe exe;
    return exe;
}

// Record 17's length by its first 0xFFFF word after the fixed part, or
// nothing when none comes before the end of the file.
std::optional<std::int32_t> ReferenceLength17(const SparseExe& exe, std::int32_t offset) {
    const std::int64_t start = static_cast<std::int64_t>(offset) + kMagicFixedSize;
    if (start < 0 || static_cast<std::uint64_t>(start) >= kGp4ExeSize)
        return std::nullopt;
    for (std::uint64_t pos = static_cast<std::uint64_t>(start); pos + 2 <= kGp4ExeSize; pos += 2) {
        if (pos >= exe.DataEnd())
            return std::nullopt; // zeros from here to the end
        if (exe.At(pos) == 0xFF && exe.At(pos + 1) == 0xFF)
            return static_cast<std::int32_t>(pos + 2 - static_cast<std::uint64_t>(offset));
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kGp4ExeTableSize + 1)
        return 0;
    const std::span<const std::uint8_t> table(data, kGp4ExeTableSize);
    const std::uint8_t choice = data[kGp4ExeTableSize];
    const std::span<const std::uint8_t> payload(data + kGp4ExeTableSize + 1,
                                                std::min(size - kGp4ExeTableSize - 1, kPayloadMax));

    // The payload goes behind record 17's fixed part when that lies in the file.
    const std::int32_t offset17 = static_cast<std::int32_t>(
        fileio::LoadU32(table.data() + 4 * (kTrackCount - 1)) - kGp4ExeImageBase);
    std::vector<Region> regions;
    const std::int64_t behind = static_cast<std::int64_t>(offset17) + kMagicFixedSize;
    if (behind >= 0 && static_cast<std::uint64_t>(behind) < kGp4ExeSize) {
        const std::uint64_t room = kGp4ExeSize - static_cast<std::uint64_t>(behind);
        regions.push_back(
            {static_cast<std::uint64_t>(behind),
             fileio::Bytes(payload.begin(),
                           payload.begin() + static_cast<std::ptrdiff_t>(
                                                 std::min<std::uint64_t>(room, payload.size())))});
    }
    regions.push_back({kGp4ExeTableOffset, fileio::Bytes(table.begin(), table.end())});
    SparseExe& exe = Exe();
    exe.Lay(regions);

    // What the read must give.
    TrackTableArray want{};
    for (int k = 1; k <= kTrackCount; ++k)
        want[k].offset =
            static_cast<std::int32_t>(fileio::LoadU32(table.data() + 4 * (k - 1)) - 0x400000u);
    for (int k = 1; k < kTrackCount; ++k)
        want[k].length = static_cast<std::int32_t>(static_cast<std::uint32_t>(want[k + 1].offset) -
                                                   static_cast<std::uint32_t>(want[k].offset) - 4u);
    const std::optional<std::int32_t> length17 = ReferenceLength17(exe, want[kTrackCount].offset);
    constexpr std::int32_t kOld = -77;
    want[kTrackCount].length = length17.value_or(kOld);

    for (auto& e : kestrum::TrackTable)
        e = {kOld, kOld};
    bool read = false;
    try {
        read = ReadExeTrackTable(exe.Path());
        FUZZ_CHECK(length17.has_value());
    } catch (const IoError& e) {
        FUZZ_CHECK(e.Code() == IoError::kReadBeyondEnd);
        FUZZ_CHECK(!length17.has_value());
    }
    FUZZ_CHECK(read == length17.has_value());
    for (int k = 1; k <= kTrackCount; ++k) {
        FUZZ_CHECK(kestrum::TrackTable[k].offset == want[k].offset);
        FUZZ_CHECK(kestrum::TrackTable[k].length == want[k].length);
    }
    if (!read)
        return 0;

    // One track's record written out by the command and compiled back.
    const int track = 1 + choice % kTrackCount;
    const TrackTableEntry entry = kestrum::TrackTable[track];
    const bool fits =
        entry.offset >= 0 && static_cast<std::uint64_t>(entry.offset) < kGp4ExeSize &&
        entry.length >= static_cast<std::int32_t>(kMagicMinRecordSize) &&
        static_cast<std::uint64_t>(entry.offset) + static_cast<std::uint64_t>(entry.length) <=
            kGp4ExeSize;
    FUZZ_CHECK(TrackEntryProblem(track, entry, kGp4ExeSize).empty() == fits);
    // Whole-file records make slow text files; the check above covers them.
    if (!fits || entry.length > 64 * 1024)
        return 0;

    static const bool inScratch = [] { return ::chdir(fuzz::ScratchDir().c_str()) == 0; }();
    FUZZ_CHECK(inScratch);
    const std::string name =
        CreateMagicFileFromExe(exe.Path(), [track] { return std::to_string(track); });
    FUZZ_CHECK(name == MagicFileNameForTrack(track));
    const std::optional<fileio::Bytes> compiled =
        CompileMagicRecord(fuzz::ReadFile(fuzz::ScratchDir() + "/" + name));
    std::remove((fuzz::ScratchDir() + "/" + name).c_str());
    FUZZ_CHECK(compiled.has_value());

    // The fixed part and the whole pairs that fit in the length; the writer
    // never writes the last word, which a right record holds its terminator in.
    const std::size_t words = static_cast<std::size_t>(entry.length) / 2;
    std::size_t pairs = 0;
    for (std::size_t w = kMagicFixedSize / 2; w + 1 < words; w += 2)
        ++pairs;
    fileio::Bytes expected(kMagicTag.begin(), kMagicTag.end());
    for (std::size_t i = 0; i < kMagicFixedSize + 4 * pairs; ++i)
        expected.push_back(exe.At(static_cast<std::uint64_t>(entry.offset) + i));
    expected.push_back(0xFF);
    expected.push_back(0xFF);
    FUZZ_CHECK(*compiled == expected);
    return 0;
}
