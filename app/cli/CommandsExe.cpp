// table, create: the built-in records of GP4.EXE.
#include "Commands.h"

#include "FileIO.h"
#include "Gp4Exe.h"
#include "IntegerRule.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "PathRules.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Reads the table of exePath into kestrum::TrackTable; a file of another size
// is reported and gives false.
bool ReadTable(const std::string& exePath, CliUi& ui) {
    ui.SetFile(exePath);
    if (ReadExeTrackTable(exePath))
        return true;
    ui.Report(exePath, Format(msg::kCliExeRefused,
                              static_cast<unsigned long long>(fileio::FileSize(exePath)),
                              static_cast<unsigned long long>(kGp4ExeSize)));
    return false;
}

// The magic text files are written into the current folder; --dir moves it
// there for the duration of the command.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& folder) {
        if (folder.empty())
            return;
        if (!fileio::DirectoryExists(folder))
            throw IoError(IoError::kFileNotFound, folder);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        moved_ = true;
    }
    ~CurrentFolder() {
        if (moved_) {
            std::error_code ec;
            std::filesystem::current_path(previous_, ec);
        }
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::filesystem::path previous_;
    bool moved_ = false;
};

} // namespace

int RunTable(const std::string& exePath, CliUi& ui) {
    if (!ReadTable(exePath, ui))
        return kExitFileProblem;
    const std::uint64_t size = fileio::FileSize(exePath);
    int status = kExitOk;
    for (int track = 1; track <= kTrackCount; ++track) {
        const TrackTableEntry& e = kestrum::TrackTable[track];
        std::printf("%2d %10ld %6ld\n", track, static_cast<long>(e.offset),
                    static_cast<long>(e.length));
        if (std::string problem = TrackEntryProblem(track, e, size); !problem.empty()) {
            std::fflush(stdout);
            ui.Report(exePath, problem);
            status = kExitFileProblem;
        }
    }
    std::fflush(stdout);
    return status;
}

int RunCreate(const CreateArgs& args, CliUi& ui) {
    int first = 1, last = kTrackCount;
    if (paths::LowerAscii(args.which) != "all") {
        const std::optional<std::int32_t> n = ParseTrackNumber(args.which);
        if (!n || *n < 1 || *n > kTrackCount)
            throw UsageError(Format(msg::kCliBadTrackNumber, args.which.c_str()));
        first = last = *n;
    }
    if (!ReadTable(args.exe, ui))
        return kExitFileProblem;
    // A relative path to GP4.EXE must survive the move of the current folder.
    const std::string exe =
        args.dir.empty() ? args.exe : std::filesystem::absolute(args.exe).string();

    CurrentFolder folder(args.dir);
    int status = kExitOk;
    for (int track = first; track <= last; ++track) {
        const std::string answer = std::to_string(track);
        const int done = RunGuarded(ui, [&] {
            const std::string written = CreateMagicFileFromExe(exe, [&] { return answer; });
            if (written.empty())
                return kExitFileProblem; // the core has said why
            std::printf("%s\n", JoinPath(args.dir, written).c_str());
            return kExitOk;
        });
        if (done != kExitOk)
            status = kExitFileProblem;
    }
    std::fflush(stdout);
    return status;
}
