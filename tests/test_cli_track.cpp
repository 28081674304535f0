// torvex4-cli info and check, run as the real program.
#if defined(TORVEX4_CLI_EXE) && !defined(_WIN32)

#include "CliProcess.h"
#include "Messages.h"
#include "TestSupport.h"
#include "TrackCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

std::string ErrLine(const std::string& file, const std::string& text) {
    return std::string("torvex4-cli: ") + file + ": " + text + "\n";
}

class CliInfo : public ::testing::Test {
  protected:
    void SetUp() override { WriteBytes(track, original); }
    TempDir dir;
    std::string track = dir / "t.dat";
    // The byte before the checksum is 0x00, so a block put there is found.
    fileio::Bytes original = MakeTrack(0, 4, fileio::Bytes(24, 0));
};

TEST_F(CliInfo, ATrackWithoutABlockHasNoEntries) {
    const CliRun run = RunCli({"info", track}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadBytes(track), original);
}

TEST_F(CliInfo, SetDeleteAndReadBack) {
    CliRun run = RunCli({"info", track, "--set", "Author=Ann", "--set", "b=x=y", "c=3"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const fileio::Bytes written = ReadBytes(track);
    EXPECT_TRUE(CheckTrack(written).AllRight());
    const std::string block = "#GP4INFO|Author|Ann|b|x=y|c|3|#";
    ASSERT_EQ(written.size(), original.size() + block.size());
    EXPECT_EQ(std::string(written.end() - 4 - block.size(), written.end() - 4), block);

    run = RunCli({"info", track}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Author=Ann\nb=x=y\nc=3\n");

    // Names are matched without regard to case; a set replaces the entry, in
    // the spelling given.
    run = RunCli({"info", track, "--delete", "AUTHOR", "--set", "C=4"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(RunCli({"info", track}, dir).out, "b=x=y\nC=4\n");
    EXPECT_TRUE(CheckTrack(ReadBytes(track)).AllRight());
}

TEST_F(CliInfo, TextsTheBlockCannotHoldAreRefused) {
    ASSERT_EQ(RunCli({"info", track, "--set", "a=1"}, dir).status, 0);
    const fileio::Bytes before = ReadBytes(track);
    for (const char* setting : {"a=1|2", "b#=3"}) {
        const CliRun run = RunCli({"info", track, "--set", setting}, dir);
        EXPECT_EQ(run.status, 1) << setting;
        EXPECT_EQ(run.err.rfind("torvex4-cli: " + track + ": ", 0), 0u) << run.err;
        EXPECT_EQ(ReadBytes(track), before) << setting;
    }
}

TEST_F(CliInfo, AMissingTrackFile) {
    const CliRun run = RunCli({"info", dir / "none.dat"}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, ErrLine(dir / "none.dat", msg::kIoFileNotFound));
}

fileio::Bytes GoodTrack() {
    return MakeTrack(0, 40, fileio::Bytes(40, 0x33));
}

struct CheckCase {
    const char* name;
    fileio::Bytes (*make)();
    int status;
    const char* verdict; // the start of the line after "FILE: "
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class CliCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CliCheck, TellsWhatIsWrong) {
    TempDir dir;
    const std::string track = dir / "t.dat";
    const fileio::Bytes bytes = GetParam().make();
    WriteBytes(track, bytes);
    const CliRun run = RunCli({"check", track}, dir);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    const std::string start = track + ": " + GetParam().verdict;
    EXPECT_EQ(run.out.rfind(start, 0), 0u) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    EXPECT_EQ(run.out.back(), '\n');
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadBytes(track), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliCheck,
    ::testing::Values(
        CheckCase{"Good", GoodTrack, 0, "ok\n"},
        CheckCase{"BadChecksum",
                  [] {
                      fileio::Bytes b = GoodTrack();
                      fileio::StoreU16(&b[b.size() - 4], 0x1234);
                      fileio::StoreU16(&b[b.size() - 2], 0xABCD);
                      return b;
                  },
                  1, "checksum wrong (holds 1234 ABCD, should be "},
        CheckCase{"BadSizeWord",
                  [] {
                      fileio::Bytes b = GoodTrack();
                      fileio::StoreU32(&b[kChecksumOffsetWord], 5);
                      StoreChecksum(b);
                      return b;
                  },
                  1, "word at 8 wrong (holds 5, should be 72)\n"},
        CheckCase{"TooShort", [] { return fileio::Bytes(20, 1); }, 1,
                  "too short to be a track file (20 bytes, a header and a checksum take 36)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The verdicts that carry numbers, spelt out.
TEST(CliCheckVerdict, NumbersOfTheFaults) {
    TempDir dir;
    const std::string track = dir / "t.dat";
    fileio::Bytes b = GoodTrack();
    fileio::StoreU32(&b[kChecksumOffsetWord], 5);
    const TrackChecksum rightAfter = ComputeChecksum(b);
    fileio::StoreU16(&b[b.size() - 4], 0x1234);
    fileio::StoreU16(&b[b.size() - 2], 0xABCD);
    WriteBytes(track, b);
    char expected[256];
    std::snprintf(expected, sizeof expected,
                  "%s: checksum wrong (holds 1234 ABCD, should be %04X %04X); word at 8 wrong "
                  "(holds 5, should be %zu)\n",
                  track.c_str(), rightAfter.byteSum, rightAfter.rotatingSum, b.size() - 4);
    const CliRun run = RunCli({"check", track}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, expected);
}

TEST(CliCheckFix, RepairsAndThenAllIsRight) {
    TempDir dir;
    const std::string a = dir / "a.dat", b = dir / "b.dat";
    const fileio::Bytes good = GoodTrack();
    fileio::Bytes damaged = good;
    fileio::StoreU32(&damaged[kChecksumOffsetWord], 0);
    damaged[damaged.size() - 1] ^= 0x40;
    WriteBytes(a, damaged);
    WriteBytes(b, good);

    CliRun run = RunCli({"check", "--fix", a, b}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(a + ": repaired: checksum wrong", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("word at 8 wrong (holds 0, "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n" + b + ": ok\n"), std::string::npos) << run.out;
    EXPECT_EQ(ReadBytes(a), good);
    EXPECT_EQ(ReadBytes(b), good);

    run = RunCli({"check", a, b}, dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, a + ": ok\n" + b + ": ok\n");
}

TEST(CliCheckFix, WhatCannotBeReadOrRepairedIsToldAndTheRestDone) {
    TempDir dir;
    const std::string shortFile = dir / "short.dat", bad = dir / "bad.dat";
    WriteBytes(shortFile, fileio::Bytes(10, 0));
    fileio::Bytes damaged = GoodTrack();
    damaged[40] ^= 1;
    WriteBytes(bad, damaged);

    CliRun run = RunCli({"check", "--fix", dir / "missing.dat", shortFile, bad}, dir);
    EXPECT_EQ(run.status, 1);
    char tooShort[256];
    std::snprintf(tooShort, sizeof tooShort, msg::kTrackTooShort, 10ULL,
                  static_cast<unsigned long long>(kMinTrackFileSize));
    EXPECT_EQ(run.err,
              ErrLine(dir / "missing.dat", msg::kIoFileNotFound) + ErrLine(shortFile, tooShort));
    EXPECT_EQ(ReadBytes(shortFile), fileio::Bytes(10, 0));
    EXPECT_TRUE(CheckTrack(ReadBytes(bad)).AllRight());
    EXPECT_EQ(run.out.rfind(bad + ": repaired: checksum wrong", 0), 0u) << run.out;

    // Without --fix a missing file is a problem too, and the others are looked at.
    run = RunCli({"check", dir / "missing.dat", bad}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, bad + ": ok\n");
}

} // namespace

#endif
