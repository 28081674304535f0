// What the window tests share: a user interface that answers every modal
// dialog from a script (message boxes are recorded and confirmed), and a
// fixture that starts the program's windows on a scratch folder with its own
// settings file.
#pragma once

#include "ProgramWindows.h"
#include "QtUi.h"
#include "TestSupport.h"

#include <QMessageBox>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class QDialog;

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

class ScriptedUi : public QtUi {
  public:
    using Answer = std::function<void(QDialog&)>;

    // Message boxes: recorded, then closed with OK. Other dialogs: shown (so
    // that what they do when shown runs), handed to the next answer, then
    // closed by their close box if still open.
    int ExecModal(QDialog& dialog) override;
    void SetBusy(bool busy) override;

    // Answers for the dialogs other than message boxes, in order; once they
    // run out, a dialog is closed by its close box at once.
    std::deque<Answer> answers;
    std::vector<ShownBox> boxes;
    // The object names of the other dialogs run, in order.
    std::vector<QString> dialogs;
    // Whether the busy cursor was on screen while busy.
    std::vector<bool> busyCursorShown;

    std::vector<QString> BoxTexts() const;
};

// Answers.
ScriptedUi::Answer ChooseFile(const std::string& path);
ScriptedUi::Answer AnswerText(const QString& text);
ScriptedUi::Answer CancelDialog();
// Sets the location dialog's field, then presses OK (ok) or its close box.
ScriptedUi::Answer LocationAnswer(const std::string& path, bool ok);

// The box text the program shows for one of its texts (CR LF shown as LF).
QString Shown(const std::string& text);

class WindowTest : public ::testing::Test {
  protected:
    WindowTest();
    ~WindowTest() override;

    // Creates the four windows (the main window's creation reads the settings).
    void Create();
    // Creates them and shows the main window (its first showing).
    void Start();
    // Writes the settings file the next start reads.
    void WriteSettings(const std::string& gp4exe, const std::string& lastdir);
    std::string SettingsText() const;

    TFKestrum& Main() { return windows->FKestrum; }
    TFEditGP4info& Editor() { return windows->FEditGP4info; }
    TFGP4Location& Location() { return windows->FGP4Location; }

    // A file with the given bytes in the scratch folder; gives its path.
    std::string MakeFile(const std::string& name, const std::string& bytes = "x");

    TempDir dir;
    ScriptedUi ui;
    std::unique_ptr<ProgramWindows> windows;

  private:
    QString oldCurrent_;
    std::string oldXdg_;
    bool hadXdg_ = false;
};
