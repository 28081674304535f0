// Getting a stored record back out of a track file.
#include "IoError.h"
#include "MagicCompiler.h"
#include "MagicExtract.h"
#include "MagicLayout.h"
#include "TestSupport.h"
#include "TrackFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

fileio::Bytes InsertInto(const fileio::Bytes& track, const std::string& text) {
    auto rec = CompileMagicRecord(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return PlanInsertion(track, *rec).plan->file;
}

} // namespace

TEST(FindStoredRecord, StopsAtTheFirstTerminatorAfterTheFixedPart) {
    fileio::Bytes rec = MakeTaggedRecord(0, {{3, 4}});
    // 0xFFFF values in the fixed part.
    std::fill(rec.begin() + 4, rec.begin() + 4 + kMagicFixedSize, 0xFF);
    // A later 0xFFFF is not the record's.
    const fileio::Bytes body = Joined({fileio::Bytes(10, 0), rec, {0xFF, 0xFF, 1, 2}});
    fileio::Bytes track = MakeTrack(10, static_cast<std::uint32_t>(10 + rec.size()), body);
    std::span<const std::uint8_t> found = FindStoredRecord(track);
    ASSERT_EQ(found.size(), rec.size() - 4);
    EXPECT_TRUE(std::equal(found.begin(), found.end(), rec.begin() + 4));
}

TEST(FindStoredRecord, NoTagGivesNothingAndRunningPastTheEndIsAnIoError) {
    fileio::Bytes track = MakeTrack(0, 0, fileio::Bytes(400, 0));
    EXPECT_TRUE(FindStoredRecord(track).empty());

    auto expectReadBeyond = [](const fileio::Bytes& t) {
        try {
            FindStoredRecord(t);
            ADD_FAILURE() << "no error";
        } catch (const IoError& e) {
            EXPECT_EQ(e.Code(), 100);
        }
    };
    fileio::StoreU32(&track[20], 0xFFFFFFFF); // magic offset far past the end
    expectReadBeyond(track);
    // A tag whose record has no terminator before the end of the file.
    fileio::Bytes noEnd(kMagicTag.begin(), kMagicTag.end());
    noEnd.resize(4 + kMagicFixedSize + 10, 0);
    expectReadBeyond(MakeTrack(0, 0, noEnd));
    expectReadBeyond(fileio::Bytes(23, 0));
}

class ExtractOnDisk : public ::testing::Test {
  protected:
    RecordingUi ui;
    TempDir dir;
    std::string track = dir / "t.dat";
    std::string out = dir / "out.md3";
    int asked = 0;
    AskOutputFile Ask(std::optional<std::string> answer) {
        return [this, answer] {
            ++asked;
            return answer;
        };
    }
};

TEST_F(ExtractOnDisk, AnInsertedRecordComesBackAsTextThatCompilesToTheSameRecord) {
    const std::string text = MakeMagicText({-151, 104, 7, 65535, -1}, {"1,2", "65534,0", "3,4"});
    WriteBytes(track, InsertInto(MakeTrack(0, 4, fileio::Bytes(30, 9)), text));
    struct stat st;
    ::chmod(track.c_str(), 0444); // only read: a read-only track file is fine
    ::stat(track.c_str(), &st);

    ASSERT_TRUE(ExtractMagicData(track, Ask(out)));
    std::string written = ReadText(out);
    auto again = CompileMagicRecord(
        std::span(reinterpret_cast<const std::uint8_t*>(written.data()), written.size()));
    auto expected = CompileMagicRecord(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    EXPECT_EQ(again, expected);
    struct stat after;
    ::stat(track.c_str(), &after);
    EXPECT_EQ(after.st_mode, st.st_mode) << "the track file's attributes are left alone";
}

TEST_F(ExtractOnDisk, ABumpWordOf65535EndsTheRecordAsTheTerminatorDoes) {
    WriteBytes(track, InsertInto(MakeTrack(0, 0, fileio::Bytes(8, 0)),
                                 MakeMagicText({}, {"1,2", "65535,0", "3,4"})));
    ASSERT_TRUE(ExtractMagicData(track, Ask(out)));
    EXPECT_TRUE(ReadText(out).ends_with("[bumptable]\r\n\r\n1,2\r\n"));
}

TEST_F(ExtractOnDisk, ARecordWithoutBumpsGivesAnEmptyBumpTable) {
    WriteBytes(track, InsertInto(MakeTrack(0, 0, fileio::Bytes(8, 0)), MakeMagicText({}, {})));
    ASSERT_TRUE(ExtractMagicData(track, Ask(out)));
    EXPECT_TRUE(ReadText(out).ends_with("[bumptable]\r\n\r\n"));
}

TEST_F(ExtractOnDisk, NoRecordCancelAndMissingFile) {
    WriteBytes(track, MakeTrack(0, 0, fileio::Bytes(8, 0)));
    EXPECT_FALSE(ExtractMagicData(track, Ask(out)));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].first, MessageType::Error);
    EXPECT_EQ(ui.messages[0].second, "This track file does NOT contain custom magic data!");
    EXPECT_EQ(asked, 0);

    WriteBytes(track, InsertInto(MakeTrack(0, 0, fileio::Bytes(8, 0)), MakeMagicText({}, {})));
    EXPECT_FALSE(ExtractMagicData(track, Ask(std::nullopt)));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(fileio::FileExists(out));

    EXPECT_FALSE(ExtractMagicData(dir / "missing.dat", Ask(out)));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ui.messages.size(), 1u);
}
