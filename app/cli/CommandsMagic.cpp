// insert, extract, compile: the magic text file in and out of track files.
#include "Commands.h"

#include "FileIO.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicExtract.h"
#include "MagicWriter.h"
#include "Messages.h"
#include "PathRules.h"
#include "TrackFile.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int RunInsert(const InsertArgs& args, CliUi& ui) {
    ui.SetFile(args.track);
    ui.SetBackupWanted(args.backup);
    // The core's messages do not say which of the two files they mean.
    if (!fileio::FileExists(args.magic))
        ui.SetFileForMessage(msg::kFileNotFound, args.magic);
    ui.SetFileForMessage(msg::kNotMagicFile, args.magic);
    const bool inserted = InsertMagicData(args.magic, args.track);
    ui.ClearFilesForMessages();
    return inserted ? kExitOk : kExitFileProblem;
}

namespace {

void RequireFile(const std::string& path) {
    if (!fileio::FileExists(path))
        throw IoError(IoError::kFileNotFound, path);
}

int ExtractToStandardOutput(const std::string& track, CliUi& ui) {
    ui.SetFile(track);
    const fileio::Bytes bytes = fileio::ReadWholeFile(track);
    std::span<const std::uint8_t> record = FindStoredRecord(bytes);
    if (record.empty()) {
        Ui().ShowMessage(MessageType::Error, msg::kNoCustomMagic);
        return kExitFileProblem;
    }
    const std::string text = FormatMagicText(record, kestrum::DescriptionTable);
#ifdef _WIN32
    // The text carries its own CR LF line ends.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        throw IoError(IoError::kDiskFull, msg::kCliStandardOutput);
    return kExitOk;
}

int ExtractToFile(const std::string& track, const std::string& out, CliUi& ui) {
    ui.SetFile(track);
    RequireFile(track); // the core does nothing at all for a missing track file
    return ExtractMagicData(track, [&] { return std::optional<std::string>(out); })
               ? kExitOk
               : kExitFileProblem;
}

// The magic text file for a track file inside folder: track.dat gives
// folder/track.md3.
std::string OutputInFolder(const std::string& folder, const std::string& track) {
    return JoinPath(folder, paths::ChangeFileExt(paths::ExtractFileName(track), ".md3"));
}

} // namespace

int RunExtract(const std::vector<std::string>& args, CliUi& ui) {
    if (args.size() == 1)
        return ExtractToStandardOutput(args[0], ui);
    const std::string& last = args.back();
    const bool intoFolder = fileio::DirectoryExists(last);
    if (args.size() == 2 && !intoFolder)
        return ExtractToFile(args[0], last, ui);
    if (!intoFolder)
        throw UsageError(Format(msg::kCliExtractNeedsFolder, last.c_str()));

    int status = kExitOk;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        const int done = RunGuarded(ui, [&] {
            const std::string out = OutputInFolder(last, args[i]);
            const int extracted = ExtractToFile(args[i], out, ui);
            if (extracted == kExitOk)
                std::printf("%s\n", out.c_str());
            return extracted;
        });
        if (done != kExitOk)
            status = kExitFileProblem;
    }
    std::fflush(stdout);
    return status;
}

int RunCompile(const CompileArgs& args, CliUi& ui) {
    ui.SetFile(args.magic);
    return CompileMagicText(args.magic, args.record) ? kExitOk : kExitFileProblem;
}
