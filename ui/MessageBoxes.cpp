#include "MessageBoxes.h"

#include "IoError.h"
#include "Messages.h"
#include "QtUi.h"

namespace {

std::unique_ptr<QMessageBox> MakeBox(QMessageBox::Icon icon, const char* caption,
                                     const std::string& text) {
    // No parent: the box centres itself on the screen.
    auto box = std::make_unique<QMessageBox>(icon, QString::fromUtf8(caption), BoxText(text),
                                             QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

} // namespace

QString BoxText(const std::string& text) {
    QString shown = ToQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

std::unique_ptr<QMessageBox> MakeMessageBox(MessageType type, const std::string& text) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (type) {
    case MessageType::Error:
        icon = QMessageBox::Critical;
        break;
    case MessageType::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageType::Information:
        icon = QMessageBox::Information;
        break;
    case MessageType::Plain:
        break;
    }
    return MakeBox(icon, CaptionFor(type), text);
}

std::unique_ptr<QMessageBox> MakeErrorBox(const std::exception& error) {
    return MakeBox(QMessageBox::Critical, msg::kAppTitle, ErrorBoxText(error));
}
