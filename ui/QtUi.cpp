#include "QtUi.h"

#include "InputBox.h"
#include "KestrumMain.h"
#include "MessageBoxes.h"
#include "PathRules.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStatusBar>

namespace {

QtUi* installed = nullptr;

} // namespace

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

std::string FromQt(const QString& text) {
    return text.toStdString();
}

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        QString pattern = parts[i + 1];
#ifndef _WIN32
        // "*.*" lists every file on Windows; elsewhere it would skip names without a dot.
        if (pattern == QStringLiteral("*.*"))
            pattern = QStringLiteral("*");
#endif
        // A caption that already shows its pattern in brackets keeps only the real one.
        const qsizetype open = caption.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && caption.endsWith(QLatin1Char(')')))
            caption = caption.left(open).trimmed();
        filters << caption + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

void FollowChosenFile(const QString& path) {
    const std::string folder = paths::ExtractFilePath(FromQt(path));
    if (!folder.empty())
        QDir::setCurrent(ToQt(folder));
}

QtUi::QtUi() : previousUi_(SetUi(this)), previousQt_(installed), installedHere_(true) {
    installed = this;
}

QtUi::QtUi(NotInstalled) {}

QtUi::~QtUi() {
    if (installedHere_) {
        installed = previousQt_;
        SetUi(previousUi_);
    }
    while (busyDepth_ > 0)
        SetBusy(false);
}

QtUi& QtUi::Current() {
    if (installed != nullptr)
        return *installed;
    // Not installed as Ui(): it only runs the real dialogs for a window that needs one.
    static struct Fallback : QtUi {
        Fallback() : QtUi(NotInstalled{}) {}
    } fallback;
    return fallback;
}

void QtUi::ShowMessage(MessageType type, const std::string& text) {
    std::unique_ptr<QMessageBox> box = MakeMessageBox(type, text);
    ExecModal(*box);
}

void QtUi::ShowError(const std::exception& error) {
    std::unique_ptr<QMessageBox> box = MakeErrorBox(error);
    ExecModal(*box);
}

bool QtUi::BackupWanted() {
    return main_ != nullptr && main_->BackupChecked();
}

void QtUi::SetStatusText(const std::string& text) {
    if (main_ != nullptr)
        main_->SetStatusText(ToQt(text));
}

void QtUi::SetBusy(bool busy) {
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

std::string QtUi::AskText(const std::string& caption, const std::string& prompt,
                          const std::string& initial) {
    InputBox box(ToQt(caption), ToQt(prompt), ToQt(initial), main_);
    ExecModal(box);
    return FromQt(box.Answer());
}

std::optional<std::string> QtUi::AskSaveFileName(const std::string& title,
                                                 const std::string& filter,
                                                 const std::string& defaultExt) {
    std::unique_ptr<QFileDialog> own;
    QFileDialog* dialog = main_ != nullptr ? main_->SDMagic : nullptr;
    if (dialog == nullptr) {
        own = std::make_unique<QFileDialog>();
        dialog = own.get();
    }
    ConfigureSaveDialog(*dialog, ToQt(title), ToQt(filter), ToQt(defaultExt));
    if (ExecModal(*dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog->selectedFiles().first();
    FollowChosenFile(chosen);
    return FromQt(chosen);
}

std::optional<QString> QtUi::AskOpenFileName(QWidget* parent, const QString& filter,
                                             const QString& folder) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QtNameFilters(filter));
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().first());
    FollowChosenFile(chosen);
    return chosen;
}

int QtUi::ExecModal(QDialog& dialog) {
    return dialog.exec();
}

void ConfigureSaveDialog(QFileDialog& dialog, const QString& title, const QString& filter,
                         const QString& defaultExt) {
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QtNameFilters(filter));
    dialog.setDefaultSuffix(defaultExt);
    // An extraction must never silently replace a file (the track file itself, say).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}
