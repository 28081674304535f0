// The user interface of the windows: what the core asks or tells its user
// reaches the user here, in boxes and dialogs of the platform. Every modal
// dialog of the program (message boxes, the input box, the file dialogs and
// the program's own dialogs) runs through ExecModal, so that one override can
// answer all of them.
#pragma once

#include "UserInterface.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QDialog;
class QFileDialog;
class QWidget;
class TFKestrum;

class QtUi : public UserInterface {
  public:
    // Installs itself as the current user interface (Ui()) and as the one the
    // windows use, for its lifetime.
    QtUi();
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    // The installed one; a stand-in that runs the real dialogs when none is.
    static QtUi& Current();

    // The window whose check box, status line and save dialog the core uses.
    void AttachMainWindow(TFKestrum* window) { main_ = window; }

    void ShowMessage(MessageType type, const std::string& text) override;
    void ShowError(const std::exception& error) override;
    bool BackupWanted() override;
    void SetStatusText(const std::string& text) override;
    void SetBusy(bool busy) override;
    std::string AskText(const std::string& caption, const std::string& prompt,
                        const std::string& initial) override;
    std::optional<std::string> AskSaveFileName(const std::string& title, const std::string& filter,
                                               const std::string& defaultExt) override;

    // The file-open dialog of a file-name field: filter in the "caption|pattern|..." form, the
    // folder it opens in. Nothing when cancelled. Any name is accepted, existing or not.
    std::optional<QString> AskOpenFileName(QWidget* parent, const QString& filter,
                                           const QString& folder);

    // Runs a dialog modally and gives back its result.
    virtual int ExecModal(QDialog& dialog);

  protected:
    struct NotInstalled {};
    // Runs the real dialogs without becoming the current user interface.
    explicit QtUi(NotInstalled);

  private:
    UserInterface* previousUi_ = nullptr;
    QtUi* previousQt_ = nullptr;
    bool installedHere_ = false;
    TFKestrum* main_ = nullptr;
    int busyDepth_ = 0;
};

// A QString from the core's UTF-8 text, and back.
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);

// The filters of the program ("caption|pattern|caption|pattern") as the file dialogs take them,
// the first one first.
QStringList QtNameFilters(const QString& filter);

// The save dialog: title, filter ("caption|pattern|..."), the extension added to a name typed
// without one. It asks before it replaces an existing file.
void ConfigureSaveDialog(QFileDialog& dialog, const QString& title, const QString& filter,
                         const QString& defaultExt);

// After a name was chosen in a file dialog, the process's current folder is that file's folder,
// so that relative names (the files "Create magic file from GP4.EXE" writes) land where the user
// last looked.
void FollowChosenFile(const QString& path);
