#include "ProgramWindows.h"

#include "FileNameEdit.h"
#include "QtUi.h"

ProgramWindows::ProgramWindows(QtUi& ui)
    : FKestrum(), FAbout(&FKestrum), FEditGP4info(&FKestrum), FGP4Location(&FKestrum), ui_(ui) {
    ui_.AttachMainWindow(&FKestrum);
    FKestrum.SetDialogs(&FAbout, &FEditGP4info, &FGP4Location);
    // The editor works on the track file named in the main window.
    FEditGP4info.SetTrackPathSource([this] { return FKestrum.FETrackFile->FileNameUtf8(); });
}

ProgramWindows::~ProgramWindows() {
    ui_.AttachMainWindow(nullptr);
}
