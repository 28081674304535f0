// Inserting a magic record into a track file. The fuzzer's bytes are split
// into a track file and a magic text. PlanInsertion either refuses, raises
// "Read beyond end of file", or gives a file with a right checksum, the word
// at 8 equal to its size - 4, the record at the offset the word at 20 names,
// the next section right after it, and every other byte where it was. The same
// pair of files on disk then goes through InsertMagicData: success leaves the
// planned file (and, with the backup box ticked, the old one as track.bak),
// anything else leaves the track file byte for byte as it was and the user
// told why, and no temporary file stays behind.
#include "FuzzSupport.h"
#include "IoError.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"
#include "Messages.h"
#include "TrackFile.h"
#include "UserInterface.h"

#include <algorithm>
#include <string_view>

namespace {

struct Split {
    std::span<const std::uint8_t> track;
    std::span<const std::uint8_t> magicText;
};

// Two bytes give the track file's length; the rest after it is the magic text.
Split SplitInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return {{}, {data, size}};
    std::size_t n = fileio::LoadU16(data);
    n = std::min(n, size - 2);
    return {{data + 2, n}, {data + 2 + n, size - 2 - n}};
}

bool IsKnownRefusal(const std::string& text) {
    return text == msg::kNextBeforeMagic || text == msg::kNoRoomForChecksum ||
           text == msg::kTrackTooLarge;
}

// A user who ticks the backup box, or not; every message is kept.
class FuzzUi final : public UserInterface {
  public:
    explicit FuzzUi(bool backup) : backup_(backup), previous_(SetUi(this)) {}
    ~FuzzUi() override { SetUi(previous_); }
    void ShowMessage(MessageType, const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::exception& e) override { messages.push_back(e.what()); }
    bool BackupWanted() override { return backup_; }
    void SetStatusText(const std::string& text) override { status = text; }

    std::vector<std::string> messages;
    std::string status;

  private:
    bool backup_;
    UserInterface* previous_;
};

template <typename A, typename B> bool SameBytes(A a, std::size_t n, B b) {
    return std::equal(a, a + static_cast<std::ptrdiff_t>(n), b);
}

// The plan's promises about a track file and a tagged record.
std::optional<fileio::Bytes> CheckPlan(std::span<const std::uint8_t> track,
                                       std::span<const std::uint8_t> tagged) {
    InsertionOutcome outcome;
    try {
        outcome = PlanInsertion(track, tagged);
    } catch (const IoError& e) {
        FUZZ_CHECK(e.Code() == IoError::kReadBeyondEnd);
        return std::nullopt;
    }
    if (!outcome.plan) {
        FUZZ_CHECK(IsKnownRefusal(outcome.refusal));
        return std::nullopt;
    }
    const InsertionPlan& plan = *outcome.plan;
    const fileio::Bytes& f = plan.file;
    const std::uint64_t magic = fileio::LoadU32(track.data() + kMagicOffsetWord);
    const std::uint64_t next = fileio::LoadU32(track.data() + kNextOffsetWord);
    const std::uint64_t tailStart = next + kTrackHeaderSize;

    FUZZ_CHECK(ChecksumIsRight(f));
    FUZZ_CHECK(fileio::LoadU32(f.data() + kChecksumOffsetWord) == f.size() - kChecksumSize);
    FUZZ_CHECK(fileio::LoadU32(f.data() + kMagicOffsetWord) == plan.offset);
    FUZZ_CHECK(fileio::LoadU32(f.data() + kNextOffsetWord) == plan.offset + tagged.size());
    FUZZ_CHECK(plan.offset == (plan.replaced ? magic : next));
    const bool stored =
        magic + kTrackHeaderSize + kMagicTag.size() <= track.size() &&
        std::equal(kMagicTag.begin(), kMagicTag.end(), track.data() + magic + kTrackHeaderSize);
    FUZZ_CHECK(plan.replaced == stored);

    const std::uint64_t at = plan.offset + kTrackHeaderSize;
    const std::uint64_t tail = track.size() - tailStart;
    FUZZ_CHECK(f.size() == at + tagged.size() + tail);
    FUZZ_CHECK(SameBytes(f.data() + at, tagged.size(), tagged.data()));
    // The header, apart from its three words, and everything up to the record.
    for (std::uint64_t i = 0; i < at; ++i) {
        const bool word = (i >= 8 && i < 12) || (i >= 20 && i < 28);
        FUZZ_CHECK(word || f[i] == track[i]);
    }
    // The next section and all after it, but for the old checksum.
    FUZZ_CHECK(tail >= kChecksumSize);
    FUZZ_CHECK(
        SameBytes(f.data() + at + tagged.size(), tail - kChecksumSize, track.data() + tailStart));
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Split in = SplitInput(data, size);

    // The tagged record: the compiled text when it is a magic text, else the
    // tag and the raw bytes (the plan does not look inside the record).
    std::optional<fileio::Bytes> compiled = CompileMagicRecord(in.magicText);
    fileio::Bytes tagged;
    if (compiled) {
        tagged = *compiled;
    } else {
        tagged.assign(kMagicTag.begin(), kMagicTag.end());
        tagged.insert(tagged.end(), in.magicText.begin(), in.magicText.end());
    }
    const std::optional<fileio::Bytes> planned = CheckPlan(in.track, tagged);

    // Inserting the same record again gives the same file.
    if (planned) {
        std::optional<fileio::Bytes> twice = CheckPlan(*planned, tagged);
        FUZZ_CHECK(twice.has_value() && *twice == *planned);
    }

    // The whole command on real files.
    fuzz::ClearScratch();
    const std::string dir = fuzz::ScratchDir();
    const std::string trackPath = dir + "/track.dat";
    const std::string magicPath = dir + "/magic.md3";
    fuzz::WriteFile(trackPath, in.track);
    fuzz::WriteFile(magicPath, in.magicText);
    const bool backup = size % 2 == 1;
    FuzzUi ui(backup);
    bool inserted = false;
    bool ioError = false;
    try {
        inserted = InsertMagicData(magicPath, trackPath);
    } catch (const IoError& e) {
        FUZZ_CHECK(e.Code() == IoError::kReadBeyondEnd);
        ioError = true;
    }
    const fileio::Bytes after = fuzz::ReadFile(trackPath);
    FUZZ_CHECK(inserted == (compiled.has_value() && planned.has_value()));
    // Told about every outcome but an I/O error, which the caller reports.
    FUZZ_CHECK(ioError || inserted || ui.messages.size() == 1);
    FUZZ_CHECK(ui.status == (inserted ? msg::kDone : ""));
    std::vector<std::string> files{"magic.md3", "track.dat"};
    if (inserted) {
        FUZZ_CHECK(ChecksumIsRight(after));
        FUZZ_CHECK(fileio::LoadU32(after.data() + kChecksumOffsetWord) ==
                   after.size() - kChecksumSize);
        FUZZ_CHECK(after == *planned);
        FUZZ_CHECK(ui.messages.empty());
        if (backup) {
            const fileio::Bytes copy = fuzz::ReadFile(dir + "/track.bak");
            FUZZ_CHECK(SameBytes(copy.begin(), copy.size(), in.track.begin()) &&
                       copy.size() == in.track.size());
            files.insert(files.begin() + 1, "track.bak");
        }
    } else {
        FUZZ_CHECK(SameBytes(after.begin(), after.size(), in.track.begin()) &&
                   after.size() == in.track.size());
    }
    FUZZ_CHECK(fuzz::ScratchEntries() == files);
    return 0;
}
