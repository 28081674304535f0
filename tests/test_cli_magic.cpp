// torvex4-cli insert, extract, compile, and the command line itself, run as
// the real program.
#if defined(TORVEX4_CLI_EXE) && !defined(_WIN32)

#include "CliProcess.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"
#include "MagicWriter.h"
#include "Messages.h"
#include "TestSupport.h"
#include "TrackFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

namespace {

const std::string kHint = std::string(msg::kCliUsageHint) + "\n";

std::string ErrLine(const std::string& file, const std::string& text) {
    return std::string("torvex4-cli: ") + file + ": " + text + "\n";
}

fileio::Bytes WithoutTag(const fileio::Bytes& tagged) {
    return fileio::Bytes(tagged.begin() + kMagicTag.size(), tagged.end());
}

class CliMagic : public ::testing::Test {
  public: // the case tables below prepare the fixture's files
    void SetUp() override {
        WriteText(magic, magicText);
        WriteBytes(track, original);
    }
    // A track file holding the record of magicText.
    fileio::Bytes TrackWithRecord() const {
        auto record = CompileMagicRecord(fileio::Bytes(magicText.begin(), magicText.end()));
        return PlanInsertion(original, *record).plan->file;
    }

    TempDir dir;
    std::string magic = dir / "my magic.md3";
    std::string track = dir / "track.dat";
    std::string magicText = MakeMagicText({-151, 104, 70000, -1}, {"5,7", "", "1, 2"});
    fileio::Bytes original = MakeTrack(0, 4, fileio::Bytes(40, 7));
};

TEST_F(CliMagic, InsertWritesWhatTheCorePlansAndSaysNothing) {
    const CliRun run = RunCli({"insert", track, magic}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadBytes(track), TrackWithRecord());
    EXPECT_FALSE(fileio::FileExists(dir / "track.bak"));

    // Inserting again replaces the stored record: the same file.
    EXPECT_EQ(RunCli({"insert", track, magic}, dir).status, 0);
    EXPECT_EQ(ReadBytes(track), TrackWithRecord());
}

TEST_F(CliMagic, InsertBackupKeepsTheOriginal) {
    const CliRun run = RunCli({"insert", "--backup", track, magic}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(dir / "track.bak"), original);
    EXPECT_EQ(ReadBytes(track), TrackWithRecord());
}

TEST_F(CliMagic, InsertRefusalsNameTheFileAtFault) {
    struct Case {
        const char* what;
        std::function<void(CliMagic&)> prepare;
        std::function<std::string(const CliMagic&)> expectedErr;
    };
    const std::vector<Case> cases{
        {"missing magic text", [](CliMagic& t) { std::filesystem::remove(t.magic); },
         [](const CliMagic& t) { return ErrLine(t.magic, msg::kFileNotFound); }},
        {"not a magic text", [](CliMagic& t) { WriteText(t.magic, "[GP4 magic file] \r\n"); },
         [](const CliMagic& t) { return ErrLine(t.magic, msg::kNotMagicFile); }},
        {"next offset past the end",
         [](CliMagic& t) { WriteBytes(t.track, MakeTrack(0, 4000, fileio::Bytes(40, 7))); },
         [](const CliMagic& t) { return ErrLine(t.track, msg::kIoReadBeyondEnd); }},
        {"next section before the stored record",
         [](CliMagic& t) {
             fileio::Bytes body(8, 0);
             const fileio::Bytes record = MakeTaggedRecord(1, {});
             body.insert(body.end(), record.begin(), record.end());
             WriteBytes(t.track, MakeTrack(8, 0, body));
         },
         [](const CliMagic& t) { return ErrLine(t.track, msg::kNextBeforeMagic); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.prepare(*this);
        const fileio::Bytes before = ReadBytes(track);
        const CliRun run = RunCli({"insert", track, magic}, dir);
        EXPECT_EQ(run.err, c.expectedErr(*this));
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadBytes(track), before);
    }
}

TEST_F(CliMagic, ExtractToStandardOutputCompilesBackToTheRecord) {
    WriteBytes(track, TrackWithRecord());
    WriteText(dir / "my.ini", "[descriptions]\r\ndesc1=first line\r\ndesc139=last\r\n");
    const CliRun run = RunCli({"--ini", dir / "my.ini", "extract", track}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    DescriptionArray descriptions{};
    descriptions[1] = "first line";
    descriptions[139] = "last";
    const fileio::Bytes tagged =
        *CompileMagicRecord(fileio::Bytes(magicText.begin(), magicText.end()));
    EXPECT_EQ(run.out, FormatMagicText(WithoutTag(tagged), descriptions));
    EXPECT_EQ(CompileMagicRecord(fileio::Bytes(run.out.begin(), run.out.end())), tagged);
}

TEST_F(CliMagic, ExtractTakesTheProgramsSettingsFileWithoutIni) {
    WriteBytes(track, TrackWithRecord());
    std::filesystem::create_directories(CliConfigHome(dir) + "/torvex4");
    WriteText(CliConfigHome(dir) + "/torvex4/torvex4.ini", "[descriptions]\ndesc2=second\n");
    const CliRun run = RunCli({"extract", track}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    DescriptionArray descriptions{};
    descriptions[2] = "second";
    const fileio::Bytes tagged =
        *CompileMagicRecord(fileio::Bytes(magicText.begin(), magicText.end()));
    EXPECT_EQ(run.out, FormatMagicText(WithoutTag(tagged), descriptions));
}

TEST_F(CliMagic, ExtractAMissingIniIsAFileProblem) {
    WriteBytes(track, TrackWithRecord());
    const CliRun run = RunCli({"--ini", dir / "none.ini", "extract", track}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, ErrLine(dir / "none.ini", msg::kIoFileNotFound));
}

TEST_F(CliMagic, ExtractIntoAFileOrAFolder) {
    WriteBytes(track, TrackWithRecord());
    const std::string expected = RunCli({"extract", track}, dir).out;
    ASSERT_FALSE(expected.empty());

    CliRun run = RunCli({"extract", track, dir / "out.md3"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadText(dir / "out.md3"), expected);

    // One track file into a folder.
    std::filesystem::create_directory(dir / "one");
    run = RunCli({"extract", track, dir / "one"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, dir / "one/track.md3\n");
    EXPECT_EQ(ReadText(dir / "one/track.md3"), expected);

    // Several track files into a folder: one NAME.md3 each, the paths printed;
    // a track file without a record is told and does not stop the others.
    std::filesystem::create_directory(dir / "texts");
    WriteBytes(dir / "second.dat", TrackWithRecord());
    WriteBytes(dir / "plain.dat", original);
    run = RunCli({"extract", track, dir / "plain.dat", dir / "second.dat", dir / "texts"}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, dir / "texts/track.md3\n" + dir / "texts/second.md3\n");
    EXPECT_EQ(run.err, ErrLine(dir / "plain.dat", msg::kNoCustomMagic));
    EXPECT_EQ(ReadText(dir / "texts/track.md3"), expected);
    EXPECT_EQ(ReadText(dir / "texts/second.md3"), expected);
    EXPECT_FALSE(fileio::FileExists(dir / "texts/plain.md3"));
}

TEST_F(CliMagic, ExtractFailures) {
    CliRun run = RunCli({"extract", track}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, ErrLine(track, msg::kNoCustomMagic));

    run = RunCli({"extract", dir / "missing.dat", dir / "out.md3"}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, ErrLine(dir / "missing.dat", msg::kIoFileNotFound));
    EXPECT_FALSE(fileio::FileExists(dir / "out.md3"));

    // A record without its terminator before the end of the file.
    fileio::Bytes cut = TrackWithRecord();
    const std::uint32_t next = fileio::LoadU32(&cut[kNextOffsetWord]);
    cut.resize(kTrackHeaderSize + next - 2);
    WriteBytes(track, cut);
    run = RunCli({"extract", track}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, ErrLine(track, msg::kIoReadBeyondEnd));
}

TEST_F(CliMagic, CompileWritesTheTagAndTheRecord) {
    CliRun run = RunCli({"compile", magic, dir / "magic.rec"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadBytes(dir / "magic.rec"),
              *CompileMagicRecord(fileio::Bytes(magicText.begin(), magicText.end())));

    WriteText(dir / "bad.md3", "[gp4 magic file]\r\n");
    run = RunCli({"compile", dir / "bad.md3", dir / "bad.rec"}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, ErrLine(dir / "bad.md3", msg::kNotMagicFile));
    EXPECT_FALSE(fileio::FileExists(dir / "bad.rec"));
}

// Wrong usage: exit status 2, one message and the hint on standard error,
// nothing on standard output.
class CliUsage : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(CliUsage, IsToldWithStatusTwo) {
    TempDir dir;
    WriteBytes(dir / "t.dat", MakeTrack(0, 4, fileio::Bytes(8, 1)));
    const fileio::Bytes before = ReadBytes(dir / "t.dat");
    const CliRun run = RunCli(GetParam(), dir);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("torvex4-cli: ", 0), 0u) << run.err;
    ASSERT_GE(run.err.size(), kHint.size());
    EXPECT_EQ(run.err.substr(run.err.size() - kHint.size()), kHint);
    EXPECT_EQ(ReadBytes(dir / "t.dat"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, CliUsage,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"frobnicate"},
                      std::vector<std::string>{"insert", "t.dat"},
                      std::vector<std::string>{"insert", "t.dat", "m.md3", "x"},
                      std::vector<std::string>{"insert", "--bakup", "t.dat", "m.md3"},
                      std::vector<std::string>{"check"},
                      std::vector<std::string>{"extract", "t.dat", "t.dat", "no-folder"},
                      std::vector<std::string>{"create", "GP4.EXE", "0"},
                      std::vector<std::string>{"create", "GP4.EXE", "18"},
                      std::vector<std::string>{"create", "GP4.EXE", "5 "},
                      std::vector<std::string>{"create", "GP4.EXE", "seven"},
                      std::vector<std::string>{"info", "t.dat", "--set", "novalue"},
                      std::vector<std::string>{"info", "t.dat", "--set", "=1"},
                      std::vector<std::string>{"--ini"}));

TEST(CliHelp, HelpAndVersionGoToStandardOutput) {
    TempDir dir;
    CliRun run = RunCli({"--version"}, dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("torvex4-cli [0-9]+\\.[0-9]+\n"))) << run.out;
    EXPECT_EQ(run.err, "");

    run = RunCli({"--help"}, dir);
    EXPECT_EQ(run.status, 0);
    for (const char* sub : {"insert", "extract", "compile", "table", "create", "info", "check"})
        EXPECT_NE(run.out.find(sub), std::string::npos) << sub;
    EXPECT_NE(run.out.find("--ini"), std::string::npos);

    const std::vector<std::pair<const char*, const char*>> own{
        {"insert", "--backup"}, {"create", "--dir"}, {"info", "--delete"}, {"check", "--fix"}};
    for (const auto& [sub, option] : own) {
        run = RunCli({sub, "--help"}, dir);
        EXPECT_EQ(run.status, 0) << sub;
        EXPECT_NE(run.out.find(option), std::string::npos) << sub << "\n" << run.out;
    }
}

} // namespace

#endif
