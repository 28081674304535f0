// The GP4info block at the end of a track file: written, read back, and the
// blocks a reader meets in files written by hand.
#include "GP4Info.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "TestSupport.h"
#include "TrackFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

fileio::Bytes B(std::string_view s) {
    return fileio::Bytes(s.begin(), s.end());
}

std::string S(const fileio::Bytes& b, std::size_t from, std::size_t n) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(from),
                       b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

std::vector<std::string> Entries() {
    return kestrum::GP4InfoList.Items();
}

void SetList(const std::vector<std::string>& entries) {
    kestrum::GP4InfoList.Clear();
    for (const auto& e : entries)
        kestrum::GP4InfoList.Add(e);
}

// Track data ending in the byte 0x00 that a block needs before it.
fileio::Bytes TrackBody() {
    fileio::Bytes body;
    for (int i = 0; i < 60; ++i)
        body.push_back(static_cast<std::uint8_t>(0x30 + i));
    body.push_back(0x00);
    return body;
}

// A track file whose last bytes before the checksum are block (which may be
// any bytes, a block written by hand).
fileio::Bytes TrackWithBlock(std::string_view block) {
    fileio::Bytes body = TrackBody();
    body.insert(body.end(), block.begin(), block.end());
    return MakeTrack(0x11, 0x22, body);
}

class GP4InfoFile : public ::testing::Test {
  protected:
    void SetUp() override {
        kestrum::GP4InfoList.Clear();
        kestrum::GP4InfoPos = 0;
    }
    void TearDown() override { SetUp(); }
    RecordingUi ui;
    TempDir dir;
    std::string track = dir / "track.dat";
};

} // namespace

TEST_F(GP4InfoFile, AWrittenBlockTakesTheChecksumsPlaceAndReadsBack) {
    const fileio::Bytes old = MakeTrack(0x11, 0x22, TrackBody());
    WriteBytes(track, old);
    SetList({"x=1", "y=2"});
    ASSERT_TRUE(WriteGP4Info(track));

    const fileio::Bytes now = ReadBytes(track);
    ASSERT_EQ(now.size(), old.size() + 18);
    EXPECT_EQ(kestrum::GP4InfoPos, static_cast<std::int32_t>(old.size() - 4));
    EXPECT_EQ(S(now, old.size() - 4, 18), "#GP4INFO|x|1|y|2|#");
    EXPECT_TRUE(ChecksumIsRight(now));
    // Only the last four bytes and the word at 8 (the checksum's position) changed.
    EXPECT_EQ(fileio::LoadU32(&now[8]), now.size() - 4);
    fileio::Bytes head(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(old.size() - 4));
    fileio::StoreU32(&head[8], fileio::LoadU32(&old[8]));
    EXPECT_TRUE(std::equal(head.begin(), head.end(), old.begin()));
    EXPECT_EQ(fileio::LoadU32(&now[20]), 0x11u);
    EXPECT_EQ(fileio::LoadU32(&now[24]), 0x22u);

    kestrum::GP4InfoList.Clear();
    kestrum::GP4InfoPos = 0;
    ASSERT_TRUE(ReadGP4Info(track));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"x=1", "y=2"}));
    EXPECT_EQ(kestrum::GP4InfoPos, static_cast<std::int32_t>(old.size() - 4));

    // The same list written again leaves the same file.
    ASSERT_TRUE(WriteGP4Info(track));
    EXPECT_EQ(ReadBytes(track), now);
}

TEST_F(GP4InfoFile, ASecondWriteReplacesTheBlockItWrote) {
    const fileio::Bytes old = MakeTrack(0, 0, TrackBody());
    WriteBytes(track, old);
    SetList({"long name=a long value", "y=2"});
    ASSERT_TRUE(WriteGP4Info(track));
    SetList({"z=3"});
    ASSERT_TRUE(WriteGP4Info(track));
    const fileio::Bytes now = ReadBytes(track);
    ASSERT_EQ(now.size(), old.size() - 4 + 14 + 4);
    EXPECT_EQ(S(now, old.size() - 4, 14), "#GP4INFO|z|3|#");
    EXPECT_TRUE(ChecksumIsRight(now));
    EXPECT_EQ(fileio::LoadU32(&now[8]), now.size() - 4);
}

TEST_F(GP4InfoFile, AnEmptyListWritesTheBareBlock) {
    WriteBytes(track, MakeTrack(0, 0, TrackBody()));
    ASSERT_TRUE(WriteGP4Info(track));
    const fileio::Bytes now = ReadBytes(track);
    EXPECT_EQ(S(now, now.size() - 14, 10), "#GP4INFO|#");
    kestrum::GP4InfoPos = 0;
    EXPECT_TRUE(ReadGP4Info(track));
    EXPECT_EQ(kestrum::GP4InfoList.Count(), 0u);
    EXPECT_EQ(kestrum::GP4InfoPos, static_cast<std::int32_t>(now.size() - 14));
}

TEST_F(GP4InfoFile, ReadingATrackWithoutBlockUnsetsThePosition) {
    const std::string other = dir / "other.dat";
    WriteBytes(track, TrackWithBlock("#GP4INFO|a|1|#"));
    const fileio::Bytes plain = MakeTrack(0, 0, TrackBody());
    WriteBytes(other, plain);
    ASSERT_TRUE(ReadGP4Info(track));
    ASSERT_NE(kestrum::GP4InfoPos, 0);
    EXPECT_FALSE(ReadGP4Info(other));
    EXPECT_EQ(kestrum::GP4InfoPos, 0);
    // So the write to the second track puts its block in place of its checksum.
    ASSERT_TRUE(WriteGP4Info(other));
    const fileio::Bytes now = ReadBytes(other);
    EXPECT_EQ(S(now, plain.size() - 4, 14), "#GP4INFO|a|1|#");
    EXPECT_EQ(now.size(), plain.size() + 14);
}

struct HandWritten {
    const char* block;
    std::vector<std::string> entries;
};
void PrintTo(const HandWritten& c, std::ostream* os) {
    *os << c.block;
}

class HandWrittenBlock : public GP4InfoFile, public ::testing::WithParamInterface<HandWritten> {};

TEST_P(HandWrittenBlock, ReadsTheEntriesThatPairUp) {
    const fileio::Bytes file = TrackWithBlock(GetParam().block);
    WriteBytes(track, file);
    kestrum::GP4InfoList.Add("kept=1"); // the reader appends
    ASSERT_TRUE(ReadGP4Info(track));
    std::vector<std::string> expected{"kept=1"};
    expected.insert(expected.end(), GetParam().entries.begin(), GetParam().entries.end());
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(kestrum::GP4InfoPos, static_cast<std::int32_t>(32 + TrackBody().size()));
    EXPECT_EQ(ReadBytes(track), file); // reading changes nothing
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, HandWrittenBlock,
    ::testing::Values(HandWritten{"#GP4INFO|x|1|y|2|#", {"x=1", "y=2"}},
                      // The last value directly before the end mark: that pair is the one dropped.
                      HandWritten{"#GP4INFO|x|1|y|2#", {"x=1"}},
                      // An odd number of fields: the bare last one is dropped.
                      HandWritten{"#GP4INFO|x|1|z#", {"x=1"}},
                      // A '#' inside a value ends the block there.
                      HandWritten{"#GP4INFO|x|a#b|y|2|#", {}},
                      // A '|' inside a value shifts the pairing of everything after it.
                      HandWritten{"#GP4INFO|x|a|b|y|2|#", {"x=a", "b=y"}},
                      HandWritten{"#GP4INFO|a|b=c|#", {"a=b=c"}},
                      HandWritten{"#GP4INFO||v|#", {"=v"}}, HandWritten{"#GP4INFO|#", {}},
                      // Bytes of the 8-bit code page pass through unchanged.
                      HandWritten{"#GP4INFO|Autor|J\xF6rg \xC9|#", {"Autor=J\xF6rg \xC9"}}));

TEST_F(GP4InfoFile, NamesThatDifferInCaseAreWrittenWithTheFirstValue) {
    WriteBytes(track, MakeTrack(0, 0, TrackBody()));
    SetList({"Ab=1", "aB=2", "a=b=c"});
    ASSERT_TRUE(WriteGP4Info(track));
    const fileio::Bytes now = ReadBytes(track);
    EXPECT_EQ(S(now, now.size() - 4 - 26, 26), "#GP4INFO|Ab|1|aB|1|a|b=c|#");
    kestrum::GP4InfoList.Clear();
    ASSERT_TRUE(ReadGP4Info(track));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Ab=1", "aB=1", "a=b=c"}));
}

struct NoBlock {
    const char* what;
    std::string bytes;
};
void PrintTo(const NoBlock& c, std::ostream* os) {
    *os << c.what;
}

class FileWithoutBlock : public GP4InfoFile, public ::testing::WithParamInterface<NoBlock> {};

TEST_P(FileWithoutBlock, ReadsAsNoBlockWithoutAnError) {
    const fileio::Bytes file = B(GetParam().bytes);
    EXPECT_FALSE(FindGP4InfoBlock(file).has_value()) << GetParam().what;

    WriteBytes(track, file);
    kestrum::GP4InfoPos = 123;
    kestrum::GP4InfoList.Add("kept=1");
    bool found = true;
    EXPECT_NO_THROW(found = ReadGP4Info(track)) << GetParam().what;
    EXPECT_FALSE(found);
    EXPECT_EQ(kestrum::GP4InfoPos, 0);
    EXPECT_EQ(Entries(), std::vector<std::string>{"kept=1"});
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Files, FileWithoutBlock,
    ::testing::Values(
        NoBlock{"empty", ""}, NoBlock{"one byte", "#"}, NoBlock{"four bytes", "####"},
        NoBlock{"five bytes", "#abcd"},
        NoBlock{"fifth-last byte not '#', marker elsewhere", "data\0#GP4INFO|x|1|#Zcccc"s},
        NoBlock{"'#' at the end but no 0x00 '#' before it", "some track data#cccc"},
        NoBlock{"a block at the very start has no 0x00 before it", "#GP4INFO|x|1|#cccc"},
        // The first 0x00 '#' pair looking back is not the marker.
        NoBlock{"0x00 '#' in track data", "\0#GP4INFO|x|1|#data\0#no marker#cccc"s},
        NoBlock{"lower-case marker", "ab\0#gp4info|x|1|#cccc"s},
        // Found fewer than 14 bytes before the end: the marker cannot fit.
        NoBlock{"block start too close to the end", "abc\0##cccc"s},
        NoBlock{"marker cut by the end", "abc\0#GP4INFO|cccc"s}));

TEST_F(GP4InfoFile, WithoutAMarkerTheWritePutsANewBlockAndCutsNoTrackData) {
    // Track data that end in '#' and hold a 0x00 '#' pair: not a block.
    fileio::Bytes body = B("\x01\x02\0#not a block, track data#"s);
    const fileio::Bytes old = MakeTrack(0, 0, body);
    WriteBytes(track, old);
    EXPECT_FALSE(ReadGP4Info(track));
    SetList({"x=1"});
    ASSERT_TRUE(WriteGP4Info(track));
    const fileio::Bytes now = ReadBytes(track);
    ASSERT_EQ(now.size(), old.size() + 14);
    EXPECT_TRUE(std::equal(old.begin() + 12, old.end() - 4, now.begin() + 12));
    EXPECT_EQ(S(now, old.size() - 4, 14), "#GP4INFO|x|1|#");
}

class UnstorableList : public GP4InfoFile,
                       public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(UnstorableList, IsRefusedAndTheFileStaysAsItWas) {
    const fileio::Bytes old = TrackWithBlock("#GP4INFO|a|1|#");
    WriteBytes(track, old);
    ASSERT_TRUE(ReadGP4Info(track));
    SetList(GetParam());
    const long bad = FirstUnstorableEntry(kestrum::GP4InfoList);
    ASSERT_GE(bad, 0);
    EXPECT_FALSE(IsStorableGP4InfoText(GetParam()[static_cast<std::size_t>(bad)]));
    EXPECT_FALSE(WriteGP4Info(track));
    EXPECT_EQ(ReadBytes(track), old);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].first, MessageType::Error);
    EXPECT_NE(ui.messages[0].second.find("Entry " + std::to_string(bad + 1) + " "),
              std::string::npos)
        << ui.messages[0].second;
}

INSTANTIATE_TEST_SUITE_P(Lists, UnstorableList,
                         ::testing::Values(std::vector<std::string>{"a|b=1"},
                                           std::vector<std::string>{"a=1#"},
                                           std::vector<std::string>{"x=1", "y=2", "z=|"},
                                           std::vector<std::string>{"ok=1", "#=2", "p=|"}));

TEST(GP4InfoText, StorableUnlessItHoldsABarOrAHash) {
    EXPECT_TRUE(IsStorableGP4InfoText(""));
    EXPECT_TRUE(IsStorableGP4InfoText("Author=Some One; 2004 (c) [v1.2]"));
    EXPECT_FALSE(IsStorableGP4InfoText("a|b"));
    EXPECT_FALSE(IsStorableGP4InfoText("#"));
    NameValueList list;
    list.Add("a=1");
    EXPECT_EQ(FirstUnstorableEntry(list), -1);
    list.Add("b=2#");
    list.Add("c|=3");
    EXPECT_EQ(FirstUnstorableEntry(list), 1);
}

TEST(GP4InfoBuild, TheWordAt8IsSetOnlyWhenItLiesBeforeTheBlock) {
    NameValueList list;
    list.Add("x=1");
    // A block at 11 would be hit by the word at 8 to 11; at 12 it is not.
    for (std::uint64_t position : {2u, 8u, 11u, 12u, 40u}) {
        fileio::Bytes file(position + 4, 0x55);
        const fileio::Bytes out = BuildGP4InfoFile(file, position, list);
        ASSERT_EQ(out.size(), position + 14 + 4);
        EXPECT_EQ(S(out, position, 14), "#GP4INFO|x|1|#") << position;
        EXPECT_TRUE(ChecksumIsRight(out));
        if (position >= 12) {
            EXPECT_EQ(fileio::LoadU32(&out[8]), out.size() - 4);
        }
    }
}

TEST_F(GP4InfoFile, AFileTooShortForAHeaderKeepsItsBlockWhole) {
    WriteBytes(track, B("\0\0ABCD"s));
    EXPECT_FALSE(ReadGP4Info(track));
    SetList({"x=1"});
    ASSERT_TRUE(WriteGP4Info(track));
    EXPECT_EQ(kestrum::GP4InfoPos, 2);
    kestrum::GP4InfoList.Clear();
    ASSERT_TRUE(ReadGP4Info(track));
    EXPECT_EQ(Entries(), std::vector<std::string>{"x=1"});
    EXPECT_EQ(kestrum::GP4InfoPos, 2);
}

TEST_F(GP4InfoFile, AFileShorterThanItsChecksumIsAnIoErrorOnWrite) {
    WriteBytes(track, B("abc"));
    SetList({"x=1"});
    EXPECT_EQ(IoCodeOf([&] { WriteGP4Info(track); }), IoError::kReadBeyondEnd);
    EXPECT_EQ(ReadBytes(track), B("abc"));
}

TEST_F(GP4InfoFile, AMissingFileGivesFalseAndNothingIsCreated) {
    EXPECT_FALSE(ReadGP4Info(track));
    SetList({"x=1"});
    EXPECT_FALSE(WriteGP4Info(track));
    EXPECT_FALSE(fileio::FileExists(track));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GP4InfoFile, AReadOnlyTrackIsReadWithoutChangingItsMode) {
    WriteBytes(track, TrackWithBlock("#GP4INFO|a|1|#"));
    ASSERT_EQ(::chmod(track.c_str(), 0444), 0);
    ASSERT_TRUE(ReadGP4Info(track));
    struct stat st;
    ASSERT_EQ(::stat(track.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);
#ifndef _WIN32
    EXPECT_EQ(st.st_mode & 07777, 0444u);
#endif
    // The write gives an owner-writable file.
    ASSERT_TRUE(WriteGP4Info(track));
    ASSERT_EQ(::stat(track.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);
#ifndef _WIN32
    EXPECT_EQ(st.st_mode & 07777, 0644u);
#endif
}

TEST_F(GP4InfoFile, AWriteThatFailsLeavesTheFileAndThePositionAsTheyWere) {
    const fileio::Bytes old = MakeTrack(0, 0, TrackBody());
    WriteBytes(track, old);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    const bool folderStillWritable = std::ofstream(dir / "probe").good();
    if (folderStillWritable) {
        ::chmod(dir.Path().c_str(), 0755);
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    SetList({"x=1"});
    EXPECT_THROW(WriteGP4Info(track), IoError);
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(ReadBytes(track), old);
    EXPECT_EQ(kestrum::GP4InfoPos, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1); // no temporary left behind
}

TEST_F(GP4InfoFile, ABlockThatMovedSinceItWasReadIsNotCut) {
    WriteBytes(track, TrackWithBlock("#GP4INFO|a|1|#"));
    ASSERT_TRUE(ReadGP4Info(track));
    // Something else grew the track data in front of the block meanwhile.
    fileio::Bytes moved = TrackBody();
    moved.insert(moved.begin(), 100, 0x77);
    moved.insert(moved.end(), {'#', 'G', 'P', '4', 'I', 'N', 'F', 'O', '|', '#'});
    const fileio::Bytes changed = MakeTrack(0, 0, moved);
    WriteBytes(track, changed);
    SetList({"b=2"});
    EXPECT_FALSE(WriteGP4Info(track));
    EXPECT_EQ(ReadBytes(track), changed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].second, msg::kGP4InfoMoved);
}
