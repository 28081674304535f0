#include "Interactive.h"

#include "Messages.h"
#include "ProgramWindows.h"
#include "QtUi.h"

#include <QApplication>

int RunInteractive(int argc, char** argv) {
    QApplication app(argc, argv);
    // The name the running program is known by outside its windows.
    QApplication::setApplicationName(QString::fromUtf8(msg::kAppTitle));
    QtUi ui;
    ProgramWindows windows(ui);
    windows.FKestrum.show();
    return QApplication::exec();
}
