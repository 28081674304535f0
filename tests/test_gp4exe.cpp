// The track table of GP4.EXE and the command that writes a built-in record
// as a magic text file, on a synthetic executable made here: a sparse file of
// the supported size holding the table and 17 records.
#include "Gp4Exe.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"
#include "Messages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Bumps = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

// A record without the tag.
fileio::Bytes MakeRecord(std::uint8_t seed, const Bumps& bumps) {
    fileio::Bytes r = MakeTaggedRecord(seed, bumps);
    return fileio::Bytes(r.begin() + 4, r.end());
}

struct Blob {
    std::uint64_t offset;
    fileio::Bytes bytes;
};

// What a synthetic GP4.EXE holds: the 17 addresses and the bytes placed.
struct ExeLayout {
    std::array<std::uint32_t, kTrackCount + 1> address{}; // 1-based
    std::vector<Blob> blobs;
    std::array<fileio::Bytes, kTrackCount + 1> records; // as placed, 1-based
};

constexpr std::uint64_t kFirstRecord = 0x300000;

// Records laid out one after the other with four bytes between them, as the
// game's build has them. Track k has k % 4 bump pairs, track 17 five.
ExeLayout StandardLayout() {
    ExeLayout layout;
    std::uint64_t at = kFirstRecord;
    for (int k = 1; k <= kTrackCount; ++k) {
        Bumps bumps;
        const int pairs = k == kTrackCount ? 5 : k % 4;
        for (int i = 0; i < pairs; ++i)
            bumps.emplace_back(static_cast<std::uint16_t>(100 * k + i),
                               static_cast<std::uint16_t>(60000 + i));
        layout.records[k] = MakeRecord(static_cast<std::uint8_t>(k * 13), bumps);
        layout.address[k] = static_cast<std::uint32_t>(at + kGp4ExeImageBase);
        layout.blobs.push_back({at, layout.records[k]});
        layout.blobs.push_back({at + layout.records[k].size(), {0xAB, 0xCD, 0xEF, 0x12}});
        at += layout.records[k].size() + 4;
    }
    return layout;
}

void WriteExe(const std::string& path, const ExeLayout& layout, std::uint64_t size = kGp4ExeSize) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        ASSERT_TRUE(out);
    }
    // Written at their places, then the file is cut or extended (sparsely) to
    // its size; blobs beyond the size are cut off with it.
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    fileio::Bytes table(kGp4ExeTableSize);
    for (int k = 1; k <= kTrackCount; ++k)
        fileio::StoreU32(&table[4 * (k - 1)], layout.address[k]);
    out.seekp(static_cast<std::streamoff>(kGp4ExeTableOffset));
    out.write(reinterpret_cast<const char*>(table.data()),
              static_cast<std::streamsize>(table.size()));
    for (const Blob& b : layout.blobs) {
        out.seekp(static_cast<std::streamoff>(b.offset));
        out.write(reinterpret_cast<const char*>(b.bytes.data()),
                  static_cast<std::streamsize>(b.bytes.size()));
    }
    out.close();
    ASSERT_FALSE(out.fail());
    fs::resize_file(path, size);
}

TrackTableArray Sentinel() {
    TrackTableArray t;
    for (int k = 0; k <= kTrackCount; ++k)
        t[k] = {1000 + k, 2000 + k};
    return t;
}

bool SameTable(const TrackTableArray& a, const TrackTableArray& b) {
    for (int k = 1; k <= kTrackCount; ++k)
        if (a[k].offset != b[k].offset || a[k].length != b[k].length)
            return false;
    return true;
}

// The file still has the mode 0444 it was given.
void ExpectReadOnly(const std::string& path) {
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
#ifdef _WIN32 // only the read-only attribute; an .exe always shows execute bits
    EXPECT_EQ(st.st_mode & 0222, 0u);
#else
    EXPECT_EQ(st.st_mode & 07777, 0444u);
#endif
}

class ExeTable : public ::testing::Test {
  protected:
    void SetUp() override { kestrum::TrackTable = Sentinel(); }
    void TearDown() override { kestrum::TrackTable = {}; }
    TempDir dir;
    std::string exe = dir / "GP4.EXE";
};

} // namespace

TEST_F(ExeTable, ReadsTheOffsetsAndLengthsOfAll17Records) {
    const ExeLayout layout = StandardLayout();
    WriteExe(exe, layout);
    ASSERT_TRUE(ReadExeTrackTable(exe));
    for (int k = 1; k <= kTrackCount; ++k) {
        EXPECT_EQ(kestrum::TrackTable[k].offset,
                  static_cast<std::int32_t>(layout.address[k] - kGp4ExeImageBase))
            << "track " << k;
        EXPECT_EQ(kestrum::TrackTable[k].length,
                  static_cast<std::int32_t>(layout.records[k].size()))
            << "track " << k;
    }
    EXPECT_EQ(kestrum::TrackTable[kTrackCount].length, 318); // five bump pairs
}

class ExeOfAnotherSize : public ExeTable, public ::testing::WithParamInterface<int> {};

TEST_P(ExeOfAnotherSize, IsRefusedAndTheTableKeepsItsContents) {
    WriteExe(exe, StandardLayout(), kGp4ExeSize + GetParam());
    EXPECT_FALSE(ReadExeTrackTable(exe));
    EXPECT_TRUE(SameTable(kestrum::TrackTable, Sentinel()));
}

INSTANTIATE_TEST_SUITE_P(OneByte, ExeOfAnotherSize, ::testing::Values(-1, 1));

TEST_F(ExeTable, Record17EndsAtTheFirstTerminatorAfterItsFixedPart) {
    // 0xFFFF words all through the fixed part do not end it.
    ExeLayout layout = StandardLayout();
    const std::uint64_t at = layout.address[kTrackCount] - kGp4ExeImageBase;
    fileio::Bytes record(kMagicFixedSize, 0xFF);
    record.insert(record.end(), {0xFF, 0xFF, 0x01, 0x02});
    layout.blobs.push_back({at, record});
    WriteExe(exe, layout);
    ASSERT_TRUE(ReadExeTrackTable(exe));
    EXPECT_EQ(kestrum::TrackTable[kTrackCount].length, 298);

    // Inside the bump table a 0xFFFF ends it even as the second word of a pair.
    record.resize(kMagicFixedSize);
    record.insert(record.end(), {0x05, 0x00, 0xFF, 0xFF, 0x07, 0x00, 0xFF, 0xFF});
    layout.blobs.push_back({at, record});
    WriteExe(exe, layout);
    ASSERT_TRUE(ReadExeTrackTable(exe));
    EXPECT_EQ(kestrum::TrackTable[kTrackCount].length, 300);
}

TEST_F(ExeTable, Record17WithoutTerminatorBeforeTheEndIsAReadBeyondTheEnd) {
    // Record 17 placed at the very end of the file with no 0xFFFF after its
    // fixed part: offsets and lengths 1 to 16 are new, length 17 keeps its old one.
    ExeLayout layout = StandardLayout();
    const std::uint64_t at = kGp4ExeSize - kMagicFixedSize - 10;
    layout.address[kTrackCount] = static_cast<std::uint32_t>(at + kGp4ExeImageBase);
    layout.blobs.push_back({at, fileio::Bytes(kMagicFixedSize + 10, 0x11)});
    WriteExe(exe, layout);
    EXPECT_EQ(IoCodeOf([&] { ReadExeTrackTable(exe); }), IoError::kReadBeyondEnd);
    EXPECT_EQ(kestrum::TrackTable[kTrackCount].offset, static_cast<std::int32_t>(at));
    EXPECT_EQ(kestrum::TrackTable[kTrackCount].length, Sentinel()[kTrackCount].length);
    EXPECT_EQ(kestrum::TrackTable[1].length, static_cast<std::int32_t>(layout.records[1].size()));
}

class Record17Outside : public ExeTable, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(Record17Outside, IsAReadBeyondTheEnd) {
    ExeLayout layout = StandardLayout();
    layout.address[kTrackCount] = GetParam();
    WriteExe(exe, layout);
    EXPECT_EQ(IoCodeOf([&] { ReadExeTrackTable(exe); }), IoError::kReadBeyondEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, Record17Outside,
    ::testing::Values(static_cast<std::uint32_t>(kGp4ExeImageBase + kGp4ExeSize -
                                                 100), // fixed part past the end
                      static_cast<std::uint32_t>(kGp4ExeImageBase + kGp4ExeSize),
                      0xFFFFFFFFu,   // far beyond
                      0x00000010u)); // below the image base: a negative offset

TEST_F(ExeTable, AMissingFileIsAnIoErrorAndLeavesTheTable) {
    EXPECT_EQ(IoCodeOf([&] { ReadExeTrackTable(exe); }), IoError::kFileNotFound);
    EXPECT_TRUE(SameTable(kestrum::TrackTable, Sentinel()));
}

TEST_F(ExeTable, AReadOnlyExeIsReadAndKeepsItsModeAndContents) {
    WriteExe(exe, StandardLayout());
    ASSERT_EQ(::chmod(exe.c_str(), 0444), 0);
    const fileio::Bytes before = ReadBytes(exe);
    ASSERT_TRUE(ReadExeTrackTable(exe));
    ExpectReadOnly(exe);
    EXPECT_EQ(ReadBytes(exe), before);
}

TEST(MagicFileName, IsTheTrackNumberInTwoDigits) {
    EXPECT_EQ(MagicFileNameForTrack(1), "magic4_01.md3");
    EXPECT_EQ(MagicFileNameForTrack(7), "magic4_07.md3");
    EXPECT_EQ(MagicFileNameForTrack(10), "magic4_10.md3");
    EXPECT_EQ(MagicFileNameForTrack(17), "magic4_17.md3");
}

namespace {

// Runs the command inside a scratch folder, the process's current folder
// being restored afterwards.
class CreateFromExe : public ::testing::Test {
  protected:
    void SetUp() override {
        kestrum::TrackTable = {};
        WriteExe(exe, layout);
        ASSERT_TRUE(ReadExeTrackTable(exe));
        fs::create_directory(out);
        previous = fs::current_path();
        fs::current_path(out);
    }
    void TearDown() override {
        fs::current_path(previous);
        kestrum::TrackTable = {};
    }
    std::string Run(const std::string& answer) {
        return CreateMagicFileFromExe(exe, [&] { return answer; });
    }
    std::vector<std::string> FilesWritten() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(out))
            names.push_back(e.path().filename().string());
        return names;
    }
    // The tag and the record the written text compiles back to.
    fileio::Bytes Compiled(const std::string& name) const {
        fileio::Bytes text = ReadBytes(out + "/" + name);
        auto rec = CompileMagicRecord(text);
        return rec ? *rec : fileio::Bytes{};
    }
    fileio::Bytes Tagged(int track) const {
        fileio::Bytes r(kMagicTag.begin(), kMagicTag.end());
        r.insert(r.end(), layout.records[track].begin(), layout.records[track].end());
        return r;
    }

    RecordingUi ui;
    TempDir dir;
    std::string exe = dir / "GP4.EXE";
    std::string out = dir / "out";
    ExeLayout layout = StandardLayout();
    fs::path previous;
};

} // namespace

TEST_F(CreateFromExe, Track5WritesATextThatCompilesBackToTheRecordInTheExe) {
    EXPECT_EQ(Run("5"), "magic4_05.md3");
    EXPECT_EQ(FilesWritten(), std::vector<std::string>{"magic4_05.md3"});
    EXPECT_EQ(Compiled("magic4_05.md3"), Tagged(5));
    EXPECT_TRUE(ui.messages.empty());
}

struct TrackAnswer {
    const char* text;
    int track;
};
void PrintTo(const TrackAnswer& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class CreateFromExeAnswer : public CreateFromExe,
                            public ::testing::WithParamInterface<TrackAnswer> {};

TEST_P(CreateFromExeAnswer, SelectsTheTrack) {
    const std::string name = MagicFileNameForTrack(GetParam().track);
    EXPECT_EQ(Run(GetParam().text), name);
    EXPECT_EQ(Compiled(name), Tagged(GetParam().track));
}

INSTANTIATE_TEST_SUITE_P(Texts, CreateFromExeAnswer,
                         ::testing::Values(TrackAnswer{" 5", 5}, TrackAnswer{"+5", 5},
                                           TrackAnswer{"05", 5}, TrackAnswer{"$11", 17},
                                           TrackAnswer{"x11", 17}, TrackAnswer{"0x11", 17},
                                           TrackAnswer{"1", 1}, TrackAnswer{"10", 10},
                                           TrackAnswer{"16", 16}));

class CreateFromExeRefusedAnswer : public CreateFromExe,
                                   public ::testing::WithParamInterface<const char*> {};

TEST_P(CreateFromExeRefusedAnswer, WritesAndShowsNothing) {
    EXPECT_EQ(Run(GetParam()), "");
    EXPECT_TRUE(FilesWritten().empty());
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, CreateFromExeRefusedAnswer,
                         ::testing::Values("5 ", "", "abc", "0", "18", "-3", "5x", "$12"));

TEST_F(CreateFromExe, ACancelledQuestionGivesTrack1) {
    // The question through the user interface, cancelled: its initial text.
    EXPECT_EQ(CreateMagicFileFromExe(exe, AskTrackNumberThroughUi), "magic4_01.md3");
    ASSERT_EQ(ui.textQuestions.size(), 1u);
    EXPECT_EQ(ui.textQuestions[0], "Create Magic file from GP4.EXE|Track number (1-17) : |1");
    EXPECT_EQ(Compiled("magic4_01.md3"), Tagged(1));
}

TEST_F(CreateFromExe, OverwritesAFileOfTheSameName) {
    WriteText(out + "/magic4_17.md3", "older text");
    EXPECT_EQ(Run("17"), "magic4_17.md3");
    EXPECT_EQ(Compiled("magic4_17.md3"), Tagged(17));
}

TEST_F(CreateFromExe, AReadOnlyExeServesTheCommandUnchanged) {
    ASSERT_EQ(::chmod(exe.c_str(), 0444), 0);
    EXPECT_EQ(Run("3"), "magic4_03.md3");
    ExpectReadOnly(exe);
}

TEST_F(CreateFromExe, AnExeThatHasGoneIsAnIoErrorAndWritesNothing) {
    fs::remove(exe);
    EXPECT_EQ(IoCodeOf([&] { Run("4"); }), IoError::kFileNotFound);
    EXPECT_TRUE(FilesWritten().empty());
}

struct BadEntry {
    const char* what;
    std::int64_t offset; // relative to the file's end when fromEnd
    bool fromEnd;
    std::int32_t length;
    const char* message;
};
void PrintTo(const BadEntry& c, std::ostream* os) {
    *os << c.what;
}

class CreateFromExeBadEntry : public CreateFromExe,
                              public ::testing::WithParamInterface<BadEntry> {};

TEST_P(CreateFromExeBadEntry, IsRefusedWithAMessageAndWritesNothing) {
    const BadEntry& bad = GetParam();
    const std::int64_t base = bad.fromEnd ? static_cast<std::int64_t>(kGp4ExeSize) : 0;
    kestrum::TrackTable[3] = {static_cast<std::int32_t>(base + bad.offset), bad.length};
    EXPECT_EQ(Run("3"), "");
    EXPECT_TRUE(FilesWritten().empty());
    ASSERT_EQ(ui.messages.size(), 1u) << bad.what;
    EXPECT_EQ(ui.messages[0].first, MessageType::Error);
    EXPECT_EQ(ui.messages[0].second, TrackEntryProblem(3, kestrum::TrackTable[3], kGp4ExeSize));
    // The message names the track and its cause.
    EXPECT_NE(ui.messages[0].second.find("track 3"), std::string::npos);
    EXPECT_NE(ui.messages[0].second.find(bad.message), std::string::npos) << bad.what;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CreateFromExeBadEntry,
    ::testing::Values(BadEntry{"negative offset", -1, false, 298, "outside the file"},
                      BadEntry{"offset at the end", 0, true, 298, "outside the file"},
                      BadEntry{"too short", 0x1000, false, 297, "less than the 298 bytes"},
                      BadEntry{"never read", 0, false, 0, "less than the 298 bytes"},
                      BadEntry{"negative length", 0x1000, false, -4, "less than the 298 bytes"},
                      BadEntry{"one byte past the end", -298, true, 299, "past the end"},
                      BadEntry{"far past the end", 0x1000, false, 0x7FFFFFFF, "past the end"}));

TEST_F(CreateFromExe, ARecordEndingAtTheEndOfTheFileIsWritten) {
    kestrum::TrackTable[2] = {static_cast<std::int32_t>(kGp4ExeSize - 302), 302};
    EXPECT_EQ(Run("2"), "magic4_02.md3");
    EXPECT_TRUE(ui.messages.empty());
    // The sparse end of the file is zeros: one bump pair 0,0 and a zero "terminator".
    const std::string text = ReadText(out + "/magic4_02.md3");
    EXPECT_NE(text.find("[bumptable]\r\n\r\n0,0\r\n"), std::string::npos);
}

TEST(TrackEntry, TheLimitsOfAGoodEntry) {
    const std::uint64_t size = 1000;
    EXPECT_EQ(TrackEntryProblem(1, {0, 298}, size), "");
    EXPECT_EQ(TrackEntryProblem(1, {702, 298}, size), "");
    EXPECT_NE(TrackEntryProblem(1, {703, 298}, size), "");
    EXPECT_NE(TrackEntryProblem(1, {0, 297}, size), "");
    EXPECT_NE(TrackEntryProblem(1, {-2147483647 - 1, 298}, size), "");
}
