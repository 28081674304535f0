// check: the trailing checksum and the header word at 8 of track files.
#include "Commands.h"

#include "FileIO.h"
#include "IoError.h"
#include "Messages.h"
#include "TrackCheck.h"

#include <cstdio>

namespace {

// What is wrong with a file, "" when nothing is.
std::string Faults(const TrackCheckResult& r) {
    if (!r.LongEnough())
        return Format(msg::kCliTrackTooShort, static_cast<unsigned long long>(r.size),
                      static_cast<unsigned long long>(kMinTrackFileSize));
    std::string faults;
    if (!r.ChecksumRight())
        faults = Format(msg::kCliChecksumWrong, r.stored.byteSum, r.stored.rotatingSum,
                        r.computed.byteSum, r.computed.rotatingSum);
    if (!r.SizeWordRight()) {
        if (!faults.empty())
            faults += "; ";
        faults += Format(msg::kCliSizeWordWrong, static_cast<unsigned long>(r.sizeWord),
                         static_cast<unsigned long long>(r.expectedSizeWord));
    }
    return faults;
}

} // namespace

int RunCheck(const CheckArgs& args, CliUi& ui) {
    int status = kExitOk;
    for (const std::string& track : args.tracks) {
        ui.SetFile(track);
        const int done = RunGuarded(ui, [&] {
            const TrackCheckResult r =
                args.fix ? RepairTrackFile(track) : CheckTrack(fileio::ReadWholeFile(track));
            const std::string faults = Faults(r);
            if (faults.empty())
                std::printf("%s: %s\n", track.c_str(), msg::kCliCheckOk);
            else if (args.fix)
                std::printf("%s: %s%s\n", track.c_str(), msg::kCliCheckRepaired, faults.c_str());
            else
                std::printf("%s: %s\n", track.c_str(), faults.c_str());
            return faults.empty() || args.fix ? kExitOk : kExitFileProblem;
        });
        if (done != kExitOk)
            status = kExitFileProblem;
    }
    std::fflush(stdout);
    return status;
}
