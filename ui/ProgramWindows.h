// The four windows of the interactive program, created in this order: the
// main window, the About box, the GP4info editor and the location dialog. The
// dialogs exist, hidden, for as long as the main window, and are shown
// modally when asked for.
#pragma once

#include "KestrumAbout.h"
#include "KestrumGP4Info.h"
#include "KestrumMain.h"
#include "KestrumSetGP4Location.h"

class QtUi;

struct ProgramWindows {
    // The windows tell their user through ui, which must outlive them.
    explicit ProgramWindows(QtUi& ui);
    ~ProgramWindows();

    TFKestrum FKestrum;
    TFAbout FAbout;
    TFEditGP4info FEditGP4info;
    TFGP4Location FGP4Location;

  private:
    QtUi& ui_;
};
