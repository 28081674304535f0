// The batch insertion, run as the real program.
#include "BatchMode.h"
#include "TestSupport.h"
#include "TrackFile.h"

#include <gtest/gtest.h>

#include <cstdio>

// The program runs as a child process through a POSIX shell; a Windows build
// shows message boxes instead of writing to standard error.
#ifndef _WIN32
#include <sys/wait.h>

namespace {

struct ProgramRun {
    int status;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

ProgramRun RunProgram(const std::vector<std::string>& args, const TempDir& dir) {
    std::string cmd = Quote(TORVEX4_EXE);
    for (const auto& a : args)
        cmd += " " + Quote(a);
    cmd += " 2>" + Quote(dir / "stderr.txt") + " </dev/null";
    int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir / "stderr.txt")};
}

} // namespace
#endif

TEST(BatchArguments, ExtensionsDecideTheRole) {
    EXPECT_EQ(ClassifyArgument("a/x.dat"), ArgumentKind::Track);
    EXPECT_EQ(ClassifyArgument("X.Dat"), ArgumentKind::Track);
    EXPECT_EQ(ClassifyArgument("x.dat2"), ArgumentKind::Other);
    for (const char* m : {"y.md", "y.MD2", "y.md3"})
        EXPECT_EQ(ClassifyArgument(m), ArgumentKind::Magic) << m;
    EXPECT_EQ(ClassifyArgument("y.md4"), ArgumentKind::Other);
    EXPECT_EQ(ClassifyArgument("dir.dat/file"), ArgumentKind::Other);
    EXPECT_EQ(ClassifyArgument("noext"), ArgumentKind::Other);
}

#ifndef _WIN32
class BatchProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteText(magic, MakeMagicText({5, 6}, {"1,2"}));
        WriteBytes(track, original);
    }
    TempDir dir;
    std::string magic = dir / "my magic.md3"; // a blank inside: one argument
    std::string track = dir / "track.dat";
    fileio::Bytes original = MakeTrack(0, 4, fileio::Bytes(40, 7));
};

TEST_F(BatchProcess, InsertsInEitherOrderWithTheSameResult) {
    ProgramRun a = RunProgram({track, magic}, dir);
    EXPECT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.err, "");
    fileio::Bytes first = ReadBytes(track);
    EXPECT_TRUE(ChecksumIsRight(first));
    EXPECT_GT(first.size(), original.size());

    WriteBytes(track, original);
    ProgramRun b = RunProgram({magic, track}, dir);
    EXPECT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(ReadBytes(track), first);
}

TEST_F(BatchProcess, ExitStatusesSayWhyNothingWasInserted) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;
    };
    WriteText(dir / "bad.md", "not magic\r\n");
    WriteBytes(dir / "broken.dat", MakeTrack(0, 1000, fileio::Bytes(8, 0)));
    const std::vector<Case> cases{
        {{track, dir / "x.txt"}, 2, "usage"},
        {{track, track}, 2, "usage"},
        {{track, dir / "missing.md3"}, 2, "File not found!"},
        {{track, dir / "bad.md"}, 2, "valid GP4 Magic file"},
        {{dir / "broken.dat", magic}, 1, "Read beyond end of file."},
    };
    for (const Case& c : cases) {
        ProgramRun r = RunProgram(c.args, dir);
        EXPECT_EQ(r.status, c.status) << c.err << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(track), original);
    }
    ProgramRun io = RunProgram({dir / "broken.dat", magic}, dir);
    EXPECT_NE(io.err.find("Exception IoError in module torvex4 at "), std::string::npos) << io.err;
}
#endif
