// Checking and repairing a track file's checksum and header word at 8.
#include "IoError.h"
#include "TestSupport.h"
#include "TrackCheck.h"

#include <gtest/gtest.h>

namespace {

fileio::Bytes GoodTrack() {
    return MakeTrack(0, 40, fileio::Bytes(40, 0x5A));
}

} // namespace

TEST(TrackCheck, AWellWrittenTrackIsRight) {
    const fileio::Bytes track = GoodTrack();
    const TrackCheckResult r = CheckTrack(track);
    EXPECT_TRUE(r.AllRight());
    EXPECT_EQ(r.sizeWord, track.size() - 4);
    EXPECT_EQ(r.expectedSizeWord, track.size() - 4);
}

TEST(TrackCheck, EachFaultIsToldApart) {
    fileio::Bytes badSum = GoodTrack();
    badSum[33] ^= 1; // a body byte changed behind the checksum's back
    TrackCheckResult r = CheckTrack(badSum);
    EXPECT_FALSE(r.ChecksumRight());
    EXPECT_TRUE(r.SizeWordRight());
    EXPECT_EQ(r.stored.byteSum, fileio::LoadU16(&badSum[badSum.size() - 4]));
    EXPECT_EQ(r.computed.byteSum, ComputeChecksum(badSum).byteSum);

    fileio::Bytes badWord = GoodTrack();
    fileio::StoreU32(&badWord[kChecksumOffsetWord], 7);
    StoreChecksum(badWord); // the checksum agrees with the wrong word
    r = CheckTrack(badWord);
    EXPECT_TRUE(r.ChecksumRight());
    EXPECT_FALSE(r.SizeWordRight());
    EXPECT_EQ(r.sizeWord, 7u);

    // A checksum stored with its two words swapped is wrong too.
    fileio::Bytes swapped = GoodTrack();
    const std::size_t end = swapped.size() - 4;
    std::swap(swapped[end], swapped[end + 2]);
    std::swap(swapped[end + 1], swapped[end + 3]);
    ASSERT_NE(fileio::LoadU16(&swapped[end]), fileio::LoadU16(&swapped[end + 2]));
    EXPECT_FALSE(CheckTrack(swapped).ChecksumRight());
}

TEST(TrackCheck, RepairGivesBackTheWellWrittenFile) {
    const fileio::Bytes good = GoodTrack();
    fileio::Bytes damaged = good;
    fileio::StoreU32(&damaged[kChecksumOffsetWord], 0xDEADBEEF);
    damaged[damaged.size() - 1] ^= 0xFF;
    RepairTrack(damaged);
    EXPECT_EQ(damaged, good);
}

TEST(TrackCheck, TooShortToBeATrackFile) {
    fileio::Bytes shortFile(kMinTrackFileSize - 1, 0);
    const TrackCheckResult r = CheckTrack(shortFile);
    EXPECT_FALSE(r.LongEnough());
    EXPECT_FALSE(r.ChecksumRight());
    EXPECT_FALSE(r.SizeWordRight());
    EXPECT_THROW(RepairTrack(shortFile), Error);
    EXPECT_EQ(shortFile, fileio::Bytes(kMinTrackFileSize - 1, 0));

    // The smallest track file: a header and a checksum.
    fileio::Bytes smallest(kMinTrackFileSize, 0);
    RepairTrack(smallest);
    EXPECT_TRUE(CheckTrack(smallest).AllRight());
}

TEST(TrackCheckFile, RewritesOnlyWhatIsWrong) {
    TempDir dir;
    const std::string path = dir / "t.dat";
    const fileio::Bytes good = GoodTrack();
    fileio::Bytes damaged = good;
    damaged[damaged.size() - 2] ^= 0x10;
    WriteBytes(path, damaged);

    TrackCheckResult before = RepairTrackFile(path);
    EXPECT_FALSE(before.ChecksumRight());
    EXPECT_EQ(ReadBytes(path), good);

    before = RepairTrackFile(path);
    EXPECT_TRUE(before.AllRight());
    EXPECT_EQ(ReadBytes(path), good);
}

TEST(TrackCheckFile, ATooShortFileIsLeftAlone) {
    TempDir dir;
    const std::string path = dir / "t.dat";
    WriteBytes(path, {1, 2, 3, 4, 5});
    EXPECT_THROW(RepairTrackFile(path), Error);
    EXPECT_EQ(ReadBytes(path), fileio::Bytes({1, 2, 3, 4, 5}));
    EXPECT_THROW(RepairTrackFile(dir / "missing.dat"), IoError);
}
