#include "FileNameEdit.h"

#include "FileIO.h"
#include "PathRules.h"
#include "QtUi.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

FileNameEdit::FileNameEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), browse_(new QToolButton(this)) {
    edit_->setObjectName(QStringLiteral("Edit"));
    edit_->setAcceptDrops(false);
    browse_->setObjectName(QStringLiteral("Browse"));
    browse_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    browse_->setFocusPolicy(Qt::NoFocus);
    browse_->setCursor(Qt::ArrowCursor);
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(browse_);

    connect(edit_, &QLineEdit::textChanged, this, &FileNameEdit::Changed);
    connect(browse_, &QToolButton::clicked, this, &FileNameEdit::Browse);
}

void FileNameEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    edit_->setFixedHeight(height());
    browse_->setFixedSize(height(), height());
}

QString FileNameEdit::FileName() const {
    QString text = edit_->text();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text;
}

std::string FileNameEdit::FileNameUtf8() const {
    return FromQt(FileName());
}

void FileNameEdit::SetFileName(const QString& name) {
    edit_->setText(name);
}

QString FileNameEdit::DialogFolder() const {
    const std::string folder = paths::ExtractFilePath(FileNameUtf8());
    if (!folder.empty() && fileio::DirectoryExists(folder))
        return ToQt(folder);
    return initialDir_;
}

void FileNameEdit::Browse() {
    const std::optional<QString> chosen =
        QtUi::Current().AskOpenFileName(window(), filter_, DialogFolder());
    emit AfterDialog(chosen ? *chosen : FileName());
    if (!chosen)
        return;
    SetFileName(*chosen);
    initialDir_ = ToQt(paths::ExtractFilePath(FromQt(*chosen)));
}
