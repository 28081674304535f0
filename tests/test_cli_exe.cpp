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

// A GP4.EXE of the supported size whose table points at 17 records, record k
// carrying k % 4 bump pairs, each followed by four filler bytes.
struct SyntheticExe {
    fileio::Bytes bytes;
    std::vector<fileio::Bytes> records; // indexed 1 to 17, without tag
    std::vector<std::uint32_t> offsets; // indexed 1 to 17
};

SyntheticExe MakeExe() {
    SyntheticExe exe;
    exe.bytes.assign(kGp4ExeSize, 0x90);
    exe.records.resize(kTrackCount + 1);
    exe.offsets.resize(kTrackCount + 1);
    std::uint32_t pos = 3000000;
    for (int k = 1; k <= kTrackCount; ++k) {
        std::vector<std::pair<std::uint16_t, std::uint16_t>> bumps;
        for (int i = 0; i < k % 4; ++i)
            bumps.emplace_back(static_cast<std::uint16_t>(100 * k + i),
                               static_cast<std::uint16_t>(i));
        const fileio::Bytes tagged = MakeTaggedRecord(static_cast<std::uint8_t>(k), bumps);
        exe.records[k].assign(tagged.begin() + kMagicTag.size(), tagged.end());
        exe.offsets[k] = pos;
        fileio::StoreU32(&exe.bytes[kGp4ExeTableOffset + 4 * (k - 1)], pos + kGp4ExeImageBase);
        std::copy(exe.records[k].begin(), exe.records[k].end(), exe.bytes.begin() + pos);
        pos += static_cast<std::uint32_t>(exe.records[k].size()) + 4;
    }
    return exe;
}

const SyntheticExe& Exe() {
    static const SyntheticExe exe = MakeExe();
    return exe;
}

std::string ErrLine(const std::string& file, const std::string& text) {
    return std::string("torvex4-cli: ") + file + ": " + text + "\n";
}

class CliExe : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(exePath, Exe().bytes);
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
        std::snprintf(line, sizeof line, "%2d %10u %6zu\n", k, Exe().offsets[k],
                      Exe().records[k].size());
        expected += line;
    }
    EXPECT_EQ(run.out, expected);
}

TEST_F(CliExe, AFileOfAnotherSizeIsRefused) {
    for (std::uint64_t size : {kGp4ExeSize - 1, kGp4ExeSize + 1}) {
        fileio::Bytes other = Exe().bytes;
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
    fileio::Bytes bad = Exe().bytes;
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
    EXPECT_EQ(ReadText(dir / "magic4_17.md3"), FormatMagicText(Exe().records[17], descriptions));
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
        EXPECT_EQ(ReadText(dir / ("out/" + name)), FormatMagicText(Exe().records[k], descriptions))
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
