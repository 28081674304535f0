// torvex4-cli table and create, on a GP4.EXE made by the test.
#if defined(TORVEX4_CLI_EXE) && !defined(_WIN32)

#include "CliProcess.h"
#include "Gp4Exe.h"
#include "KestrumVar.h"
#include "MagicLayout.h"
#include "MagicWriter.h"
#include "Messages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

std::string ErrLine(const std::string& file, const std::string& text) {
    return std::string("torvex4-cli: ") + file + ": " + text + "\n";
}

class CliExe : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(exePath, SyntheticGp4Exe().bytes);
        WriteText(dir / "my.ini", "[descriptions]\ndesc1=one\ndesc74=seventy-four\n");
        descriptions[1] = "one";
        descriptions[74] = "seventy-four";
    }
    TempDir dir;
    std::string exePath = dir / "GP4.EXE";
    DescriptionArray descriptions{};
};

TEST_F(CliExe, TableListsTheSeventeenEntries) {
    const CliRun run = RunCli({"table", exePath}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::string expected;
    for (int k = 1; k <= kTrackCount; ++k) {
        char line[64];
        std::snprintf(line, sizeof line, "%2d %10u %6zu\n", k, SyntheticGp4Exe().offsets[k],
                      SyntheticGp4Exe().records[k].size());
        expected += line;
    }
    EXPECT_EQ(run.out, expected);
}

TEST_F(CliExe, AFileOfAnotherSizeIsRefused) {
    for (std::uint64_t size : {kGp4ExeSize - 1, kGp4ExeSize + 1}) {
        fileio::Bytes other = SyntheticGp4Exe().bytes;
        other.resize(size, 0);
        WriteBytes(exePath, other);
        char text[200];
        std::snprintf(text, sizeof text, msg::kCliExeRefused, static_cast<unsigned long long>(size),
                      static_cast<unsigned long long>(kGp4ExeSize));
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"table", exePath},
              std::vector<std::string>{"create", exePath, "all"}}) {
            const CliRun run = RunCli(args, dir);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, ErrLine(exePath, text));
        }
        EXPECT_FALSE(fileio::FileExists(dir / "magic4_01.md3"));
    }
}

TEST_F(CliExe, TableTellsABadEntry) {
    fileio::Bytes bad = SyntheticGp4Exe().bytes;
    // Track 3 starts beyond the end of the file.
    fileio::StoreU32(&bad[kGp4ExeTableOffset + 8],
                     static_cast<std::uint32_t>(kGp4ExeSize) + 16 + kGp4ExeImageBase);
    WriteBytes(exePath, bad);
    const CliRun run = RunCli({"table", exePath}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), kTrackCount);
    EXPECT_NE(run.err.find("torvex4-cli: " + exePath + ": "), std::string::npos) << run.err;

    // Asking for that track writes nothing; the others are written.
    const CliRun create = RunCli({"--ini", dir / "my.ini", "create", exePath, "3"}, dir);
    EXPECT_EQ(create.status, 1);
    EXPECT_FALSE(fileio::FileExists(dir / "magic4_03.md3"));
}

TEST_F(CliExe, CreateOneTrackIntoTheCurrentFolder) {
    const CliRun run = RunCli({"--ini", dir / "my.ini", "create", exePath, "$11"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "magic4_17.md3\n");
    EXPECT_EQ(ReadText(dir / "magic4_17.md3"),
              FormatMagicText(SyntheticGp4Exe().records[17], descriptions));
}

TEST_F(CliExe, CreateAllIntoAFolder) {
    std::filesystem::create_directory(dir / "out");
    // GP4.EXE named relative to the current folder, which --dir does not change for it.
    const CliRun run = RunCli({"create", "GP4.EXE", "all", "--dir", "out", "--ini", "my.ini"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    std::string expected;
    for (int k = 1; k <= kTrackCount; ++k) {
        const std::string name = MagicFileNameForTrack(k);
        expected += "out/" + name + "\n";
        EXPECT_EQ(ReadText(dir / ("out/" + name)),
                  FormatMagicText(SyntheticGp4Exe().records[k], descriptions))
            << name;
    }
    EXPECT_EQ(run.out, expected);
    EXPECT_FALSE(fileio::FileExists(dir / "magic4_01.md3"));
}

TEST_F(CliExe, CreateIntoAMissingFolder) {
    const CliRun run = RunCli({"create", exePath, "1", "--dir", dir / "nowhere"}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, ErrLine(dir / "nowhere", msg::kIoFileNotFound));
}

} // namespace

#endif
