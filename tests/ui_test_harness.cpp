#include "ui_test_harness.h"

#include "FileNameEdit.h"
#include "InputBox.h"
#include "KestrumVar.h"
#include "MagicLayout.h"
#include "MessageBoxes.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

int ScriptedUi::ExecModal(QDialog& dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        boxes.push_back({box->windowTitle(), box->text(), box->icon()});
        return QMessageBox::Ok;
    }
    dialogs.push_back(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!answers.empty()) {
        Answer answer = std::move(answers.front());
        answers.pop_front();
        answer(dialog);
    }
    if (dialog.isVisible())
        dialog.close();
    return dialog.result();
}

void ScriptedUi::SetBusy(bool busy) {
    QtUi::SetBusy(busy);
    if (busy) {
        const QCursor* cursor = QApplication::overrideCursor();
        busyCursorShown.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
    }
}

std::vector<QString> ScriptedUi::BoxTexts() const {
    std::vector<QString> texts;
    for (const ShownBox& box : boxes)
        texts.push_back(box.text);
    return texts;
}

ScriptedUi::Answer ChooseFile(const std::string& path) {
    return [path](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr) << "not a file dialog: " << dialog.objectName().toStdString();
        files->selectFile(ToQt(path));
        static_cast<QDialog*>(files)->accept(); // the dialog's own check runs
    };
}

ScriptedUi::Answer AnswerText(const QString& text) {
    return [text](QDialog& dialog) {
        auto* box = qobject_cast<InputBox*>(&dialog);
        ASSERT_NE(box, nullptr) << "not an input box: " << dialog.objectName().toStdString();
        box->Edit()->setText(text);
        box->OkButton()->click();
    };
}

ScriptedUi::Answer CancelDialog() {
    return [](QDialog& dialog) { dialog.close(); };
}

ScriptedUi::Answer LocationAnswer(const std::string& path, bool ok) {
    return [path, ok](QDialog& dialog) {
        auto* location = qobject_cast<TFGP4Location*>(&dialog);
        ASSERT_NE(location, nullptr) << "not the location dialog";
        location->FEGP4EXE->Edit()->setText(ToQt(path));
        if (ok)
            location->BOK->click();
        else
            location->close();
    };
}

QString Shown(const std::string& text) {
    return BoxText(text);
}

WindowTest::WindowTest() {
    oldCurrent_ = QDir::currentPath();
    QDir::setCurrent(ToQt(dir.Path()));
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME")) {
        hadXdg_ = true;
        oldXdg_ = xdg;
    }
    // Never the user's own settings file.
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    kestrum::ProgramDir.clear();
    kestrum::LastDir.clear();
    kestrum::Gp4ExePath.clear();
    kestrum::TrackFileValid = false;
    kestrum::MagicFileValid = false;
    kestrum::TrackTable = TrackTableArray{};
    kestrum::GP4InfoList.Clear();
    kestrum::GP4InfoPos = 0;
}

WindowTest::~WindowTest() {
    windows.reset();
    QDir::setCurrent(oldCurrent_);
    if (hadXdg_)
        setenv("XDG_CONFIG_HOME", oldXdg_.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

void WindowTest::Create() {
    ASSERT_EQ(SettingsFilePath().rfind(dir.Path(), 0), 0u)
        << "the tests would use the settings file " << SettingsFilePath();
    windows = std::make_unique<ProgramWindows>(ui);
}

void WindowTest::Start() {
    Create();
    ASSERT_TRUE(windows);
    Main().show();
}

void WindowTest::WriteSettings(const std::string& gp4exe, const std::string& lastdir) {
    const std::string path = SettingsFilePath();
    fs::create_directories(fs::path(path).parent_path());
    WriteText(path, "[config]\r\nGP4exe=" + gp4exe + "\r\nlastdir=" + lastdir + "\r\n");
}

std::string WindowTest::SettingsText() const {
    return ReadText(SettingsFilePath());
}

std::string WindowTest::MakeFile(const std::string& name, const std::string& bytes) {
    const std::string path = dir / name;
    WriteText(path, bytes);
    return path;
}
