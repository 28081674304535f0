// Track files: the checksum, the insertion plan, and the insertion on disk.
#include "IoError.h"
#include "MagicLayout.h"
#include "TestSupport.h"
#include "TrackFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

std::uint32_t Word(const fileio::Bytes& f, std::size_t pos) {
    return fileio::LoadU32(&f[pos]);
}

fileio::Bytes Body(std::size_t n, std::uint8_t seed) {
    fileio::Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(seed + i * 13);
    return b;
}

// A track with a stored record at magic offset 16 and the next section after it.
fileio::Bytes TrackWithStoredRecord(const fileio::Bytes& oldRecord, std::size_t tailSize = 40) {
    fileio::Bytes body = Body(16, 1);
    body.insert(body.end(), oldRecord.begin(), oldRecord.end());
    fileio::Bytes tail = Body(tailSize, 99);
    body.insert(body.end(), tail.begin(), tail.end());
    return MakeTrack(16, static_cast<std::uint32_t>(16 + oldRecord.size()), body);
}

std::string MagicText() {
    return MakeMagicText({1, -2, 3, 40000}, {"10,20", "30,40"});
}

} // namespace

TEST(TrackChecksum, KnownValues) {
    fileio::Bytes f{1, 2, 3, 4, 5, 0, 0, 0, 0};
    StoreChecksum(f);
    EXPECT_EQ(f, (fileio::Bytes{1, 2, 3, 4, 5, 0x0F, 0x00, 0xE5, 0x14}));
    EXPECT_TRUE(ChecksumIsRight(f));
    f[0] ^= 1;
    EXPECT_FALSE(ChecksumIsRight(f));

    // Four bytes: byte sum 0, rotating sum the value of byte 0.
    fileio::Bytes four{0x7A, 1, 2, 3};
    StoreChecksum(four);
    EXPECT_EQ(four, (fileio::Bytes{0, 0, 0x7A, 0}));
    // The sums wrap modulo 65536.
    fileio::Bytes big(70000, 0xFF);
    TrackChecksum sum = ComputeChecksum(big);
    EXPECT_EQ(sum.byteSum, static_cast<std::uint16_t>((70000 - 4) * 0xFF));
}

TEST(TrackChecksum, UpdateChecksumRewritesOnlyTheLastFourBytes) {
    TempDir dir;
    fileio::Bytes f = MakeTrack(0, 0, Body(100, 5), false);
    WriteBytes(dir / "t.dat", f);
    ASSERT_TRUE(UpdateChecksum(dir / "t.dat"));
    StoreChecksum(f);
    EXPECT_EQ(ReadBytes(dir / "t.dat"), f);

    WriteBytes(dir / "short.dat", {1, 2, 3});
    EXPECT_FALSE(UpdateChecksum(dir / "short.dat"));
    EXPECT_EQ(ReadBytes(dir / "short.dat"), (fileio::Bytes{1, 2, 3}));
    EXPECT_FALSE(UpdateChecksum(dir / "missing.dat"));
}

TEST(InsertionPlan, ReplacesAStoredRecordUpToTheNextSection) {
    fileio::Bytes track = TrackWithStoredRecord(MakeTaggedRecord(7, {{1, 2}, {3, 4}, {5, 6}}));
    fileio::Bytes rec = MakeTaggedRecord(50, {{9, 9}});
    InsertionOutcome out = PlanInsertion(track, rec);
    ASSERT_TRUE(out.plan) << out.refusal;
    const fileio::Bytes& f = out.plan->file;
    EXPECT_TRUE(out.plan->replaced);
    EXPECT_EQ(Word(f, 20), 16u);
    EXPECT_EQ(Word(f, 24), 16u + rec.size());
    EXPECT_EQ(Word(f, 8), f.size() - 4);
    EXPECT_TRUE(ChecksumIsRight(f));
    EXPECT_TRUE(std::equal(rec.begin(), rec.end(), f.begin() + 48));
    // Head and tail as they were; the other header bytes untouched.
    EXPECT_TRUE(std::equal(track.begin() + 28, track.begin() + 48, f.begin() + 28));
    EXPECT_TRUE(std::equal(track.end() - 44, track.end() - 4, f.end() - 44));
    for (std::size_t i : {0u, 4u, 12u, 16u, 28u})
        EXPECT_EQ(f[i], track[i]) << i;
}

TEST(InsertionPlan, InsertsBeforeTheNextSectionWithoutAStoredRecord) {
    fileio::Bytes track = MakeTrack(3, 20, Body(60, 2)); // no tag at 3 + 32
    fileio::Bytes rec = MakeTaggedRecord(1, {});
    InsertionOutcome out = PlanInsertion(track, rec);
    ASSERT_TRUE(out.plan);
    const fileio::Bytes& f = out.plan->file;
    EXPECT_FALSE(out.plan->replaced);
    EXPECT_EQ(f.size(), track.size() + rec.size());
    EXPECT_EQ(Word(f, 20), 20u);
    EXPECT_EQ(Word(f, 24), 20u + rec.size());
    EXPECT_TRUE(std::equal(track.begin() + 32, track.begin() + 52, f.begin() + 32));
    EXPECT_TRUE(std::equal(rec.begin(), rec.end(), f.begin() + 52));
    EXPECT_TRUE(ChecksumIsRight(f));
}

TEST(InsertionPlan, AMagicOffsetAtOrPastTheEndMeansNoStoredRecord) {
    fileio::Bytes body = Body(40, 4);
    fileio::Bytes track = MakeTrack(0, 10, body);
    const std::uint32_t atEnd = static_cast<std::uint32_t>(track.size() - 32);
    for (std::uint32_t magic : {atEnd, atEnd + 1, 0xFFFFFFE0u, 0xFFFFFFFFu}) {
        fileio::StoreU32(&track[20], magic);
        InsertionOutcome out = PlanInsertion(track, MakeTaggedRecord(1, {}));
        ASSERT_TRUE(out.plan) << magic;
        EXPECT_EQ(out.plan->offset, 10u) << magic;
    }
}

TEST(InsertionPlan, InsertingTwiceGivesTheSameFile) {
    fileio::Bytes track = MakeTrack(0, 8, Body(30, 3));
    fileio::Bytes rec = MakeTaggedRecord(5, {{1, 1}});
    fileio::Bytes once = PlanInsertion(track, rec).plan->file;
    fileio::Bytes twice = PlanInsertion(once, rec).plan->file;
    EXPECT_EQ(once, twice);
    // A smaller record in its place shrinks the file accordingly.
    fileio::Bytes smaller = PlanInsertion(once, MakeTaggedRecord(5, {})).plan->file;
    EXPECT_EQ(smaller.size(), once.size() - 4);
    EXPECT_TRUE(ChecksumIsRight(smaller));
}

struct DamagedHeader {
    const char* what;
    std::uint32_t magic;
    std::uint32_t next;
    bool ioError; // else refused with a message
};

class DamagedHeaders : public ::testing::TestWithParam<DamagedHeader> {};

TEST_P(DamagedHeaders, AreRefusedBeforeAnythingIsBuilt) {
    // 32 + 16 bytes of body, a stored tag at magic offset 8, 4 checksum bytes: 52 bytes.
    fileio::Bytes body = Body(16, 6);
    std::copy(kMagicTag.begin(), kMagicTag.end(), body.begin() + 8);
    fileio::Bytes track = MakeTrack(GetParam().magic, GetParam().next, body);
    if (GetParam().ioError) {
        try {
            PlanInsertion(track, MakeTaggedRecord(1, {}));
            FAIL() << GetParam().what;
        } catch (const IoError& e) {
            EXPECT_EQ(e.Code(), 100) << GetParam().what;
            EXPECT_STREQ(e.what(), "Read beyond end of file");
        }
    } else {
        InsertionOutcome out = PlanInsertion(track, MakeTaggedRecord(1, {}));
        EXPECT_FALSE(out.plan) << GetParam().what;
        EXPECT_FALSE(out.refusal.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DamagedHeaders,
    ::testing::Values(DamagedHeader{"next section past the end", 8, 21, true},
                      DamagedHeader{"next offset near 2^32", 8, 0xFFFFFFF0u, true},
                      DamagedHeader{"next offset 2^32-1", 99, 0xFFFFFFFFu, true},
                      DamagedHeader{"next before the stored record", 8, 4, false},
                      DamagedHeader{"no room for the checksum", 8, 17, false},
                      DamagedHeader{"next at the very end", 99, 20, false},
                      DamagedHeader{"tag read past the end", 18, 12, true}));

TEST(InsertionPlan, AFileShorterThanItsHeaderIsAReadBeyondTheEnd) {
    EXPECT_THROW(PlanInsertion(fileio::Bytes(27, 0), MakeTaggedRecord(1, {})), IoError);
}

TEST(BackupPath, ReplacesTheLastExtension) {
    EXPECT_EQ(BackupPathFor("/a/track.dat"), "/a/track.bak");
    EXPECT_EQ(BackupPathFor("/a/track.x.dat"), "/a/track.x.bak");
    EXPECT_EQ(BackupPathFor("/a.b/track"), "/a.b/track.bak");
}

class InsertOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteText(magic, MagicText());
        original = TrackWithStoredRecord(MakeTaggedRecord(7, {{1, 2}}));
        WriteBytes(track, original);
    }
    RecordingUi ui;
    TempDir dir;
    std::string magic = dir / "m.md3";
    std::string track = dir / "track.dat";
    fileio::Bytes original;

    std::vector<std::string> FilesInDir() {
        std::vector<std::string> names;
        for (auto& e : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(InsertOnDisk, InsertsReportsDoneAndLeavesNoOtherFile) {
    ASSERT_TRUE(InsertMagicData(magic, track));
    fileio::Bytes f = ReadBytes(track);
    EXPECT_TRUE(ChecksumIsRight(f));
    EXPECT_EQ(Word(f, 8), f.size() - 4);
    EXPECT_EQ(ui.status, "Done.");
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"m.md3", "track.dat"}));
}

TEST_F(InsertOnDisk, BackupCopiesTheOriginalAndReplacesAnOldBackup) {
    WriteBytes(dir / "track.bak", {1, 2, 3});
    ui.backup = true;
    ASSERT_TRUE(InsertMagicData(magic, track));
    EXPECT_EQ(ReadBytes(dir / "track.bak"), original);
    EXPECT_NE(ReadBytes(track), original);
}

TEST_F(InsertOnDisk, ABackupThatCannotBeMadeLeavesTheTrackUnchanged) {
    std::filesystem::create_directory(dir / "track.bak"); // a folder where the copy should go
    ui.backup = true;
    EXPECT_FALSE(InsertMagicData(magic, track));
    EXPECT_EQ(ReadBytes(track), original);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].second.find("track.bak"), std::string::npos);
    EXPECT_EQ(ui.status, "");
}

TEST_F(InsertOnDisk, RefusalsShowAMessageAndChangeNothing) {
    EXPECT_FALSE(InsertMagicData(dir / "none.md3", track));
    EXPECT_FALSE(InsertMagicData(magic, dir / "none.dat"));
    WriteText(dir / "bad.md3", "[GP4 Magic File]\r\n");
    EXPECT_FALSE(InsertMagicData(dir / "bad.md3", track));
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].second, "File not found!");
    EXPECT_EQ(ui.messages[1].second, "File not found!");
    EXPECT_EQ(ui.messages[2].second, "This file doesn't appear to be a valid GP4 Magic file!");
    EXPECT_EQ(ui.status, "");
    EXPECT_EQ(ReadBytes(track), original);
}

// Permission bits, symbolic links and a file-size limit are POSIX matters.
#ifndef _WIN32
TEST_F(InsertOnDisk, AReadOnlyTrackBecomesOwnerWritableAndKeepsItsOtherBits) {
    ::chmod(track.c_str(), 0444);
    ASSERT_TRUE(InsertMagicData(magic, track));
    struct stat st;
    ASSERT_EQ(::stat(track.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(InsertOnDisk, ASymbolicLinkIsFollowedAndKept) {
    std::filesystem::create_symlink("track.dat", dir / "link.dat");
    ASSERT_TRUE(InsertMagicData(magic, dir / "link.dat"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.dat"));
    EXPECT_NE(ReadBytes(track), original);
    EXPECT_TRUE(ChecksumIsRight(ReadBytes(track)));
}

// A real fault in the middle of the write: a child process whose file-size
// limit is below the new file's size.
TEST_F(InsertOnDisk, AWriteFailureLeavesTheTrackByteForByteAsBefore) {
    fileio::Bytes big = MakeTrack(0, 0, Body(200000, 8));
    WriteBytes(track, big);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            100000, 100000
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int status = 3;
        try {
            InsertMagicData(magic, track);
            status = 4; // success should have been impossible
        } catch (const IoError& e) {
            status = e.Code() == 101 ? 0 : 5;
        } catch (...) {
        }
        ::_exit(status);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child saw the \"Disk full\" I/O error";
    EXPECT_EQ(ReadBytes(track), big);
    EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"m.md3", "track.dat"}));
}
#endif
