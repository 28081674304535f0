#include "BatchMode.h"

#include "BatchUi.h"
#include "FileIO.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "PathRules.h"
#include "TrackFile.h"
#include "UserInterface.h"

ArgumentKind ClassifyArgument(const std::string& path) {
    const std::string ext = paths::UpperAscii(paths::ExtractFileExt(path));
    if (ext == ".DAT")
        return ArgumentKind::Track;
    if (ext == ".MD" || ext == ".MD2" || ext == ".MD3")
        return ArgumentKind::Magic;
    return ArgumentKind::Other;
}

BatchResult ProcessCommandLine(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return {};
    kestrum::BatchMode = true;

    BatchUi ui;
    UserInterface* previous = SetUi(&ui);
    struct Restore {
        UserInterface* previous;
        ~Restore() { SetUi(previous); }
    } restore{previous};

    std::string track, magic;
    if (ClassifyArgument(args[0]) == ArgumentKind::Track) {
        track = args[0];
        if (ClassifyArgument(args[1]) == ArgumentKind::Magic)
            magic = args[1];
    } else if (ClassifyArgument(args[0]) == ArgumentKind::Magic) {
        magic = args[0];
        if (ClassifyArgument(args[1]) == ArgumentKind::Track)
            track = args[1];
    }
    if (track.empty() || magic.empty()) {
        ui.ShowUsage();
        return {true, kBatchNotInserted};
    }

    try {
        return {true, InsertMagicData(magic, track) ? kBatchInserted : kBatchNotInserted};
    } catch (const Error& e) {
        ui.ShowError(e);
        return {true, kBatchIoError};
    }
}
