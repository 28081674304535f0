#include "InputBox.h"

#include "Messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

InputBox::InputBox(const QString& caption, const QString& prompt, const QString& initial,
                   QWidget* parent)
    : QDialog(parent), initial_(initial), prompt_(new QLabel(prompt, this)),
      edit_(new QLineEdit(initial, this)),
      ok_(new QPushButton(QString::fromUtf8(msg::kButtonOK), this)),
      cancel_(new QPushButton(QString::fromUtf8(msg::kButtonCancel), this)) {
    setObjectName(QStringLiteral("InputBox"));
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    edit_->setObjectName(QStringLiteral("Edit"));
    edit_->setMaxLength(kMaxLength);
    edit_->selectAll();
    edit_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setDefault(true);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString InputBox::Answer() const {
    return result() == QDialog::Accepted ? edit_->text() : initial_;
}
