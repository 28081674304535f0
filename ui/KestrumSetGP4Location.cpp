#include "KestrumSetGP4Location.h"

#include "DpiScale.h"
#include "FileIO.h"
#include "FileNameEdit.h"
#include "Gp4Exe.h"
#include "Messages.h"
#include "QtUi.h"
#include "UiGuard.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <cstdio>

TFGP4Location::TFGP4Location(QWidget* parent)
    : QDialog(parent), LGP4EXELocation(new QLabel(QString::fromUtf8(msg::kLocationLabel), this)),
      FEGP4EXE(new FileNameEdit(this)),
      BOK(new QPushButton(QString::fromUtf8(msg::kButtonOK), this)) {
    setObjectName(QStringLiteral("FGP4Location"));
    setWindowTitle(QString::fromUtf8(msg::kLocationCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    LGP4EXELocation->setObjectName(QStringLiteral("LGP4EXELocation"));
    FEGP4EXE->setObjectName(QStringLiteral("FEGP4EXE"));
    FEGP4EXE->SetFilter(QString::fromUtf8(msg::kExeFilter));
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setDefault(true);

    PlaceAt(LGP4EXELocation, 8, 12, 110, 13);
    PlaceAt(FEGP4EXE, 128, 8, 233, 21);
    PlaceAt(BOK, 296, 44, 75, 21);
    FixClientSize(this, 382, 75);
    FitFontToCaptions(this, {LGP4EXELocation, BOK});
    setTabOrder(FEGP4EXE, BOK);

    connect(FEGP4EXE, &FileNameEdit::Changed, this,
            [this] { Guarded([this] { FEGP4EXEChange(); }); });
    connect(BOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TFGP4Location::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CenterOnScreen(this);
    FEGP4EXE->setFocus();
}

void TFGP4Location::FEGP4EXEChange() {
    const std::string name = FEGP4EXE->FileNameUtf8();
    if (!fileio::FileExists(name))
        return;
    std::uint64_t size = 0;
    {
        fileio::BinaryFile file(name, fileio::Access::ReadOnly);
        size = file.Size();
    }
    if (size == kGp4ExeSize)
        return;
    char text[512];
    std::snprintf(text, sizeof text, msg::kWrongExe, static_cast<unsigned long long>(kGp4ExeSize));
    Ui().ShowMessage(MessageType::Information, text);
}
