#include "KestrumAbout.h"

#include "DpiScale.h"
#include "Messages.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextCursor>

TFAbout::TFAbout(QWidget* parent)
    : QDialog(parent), ImagePanel(new QFrame(this)),
      LProgramVersion(new QLabel(QString::fromUtf8(msg::kProgramVersion), this)),
      LAuthor(new QLabel(QString::fromUtf8(msg::kAuthorLine), this)), PAbout(new QWidget(this)),
      MCredits(new QPlainTextEdit(PAbout)),
      BOK(new QPushButton(QString::fromUtf8(msg::kButtonOK), this)) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QString::fromUtf8(msg::kAboutCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    ImagePanel->setObjectName(QStringLiteral("Panel1"));
    ImagePanel->setAutoFillBackground(true);
    QPalette white = ImagePanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    ImagePanel->setPalette(white);
    PlaceAt(ImagePanel, 0, 0, 105, 193);

    LProgramVersion->setObjectName(QStringLiteral("LProgramVersion"));
    LProgramVersion->setAlignment(Qt::AlignCenter);
    PlaceAt(LProgramVersion, 112, 12, 170, 16);
    LAuthor->setObjectName(QStringLiteral("LAuthor"));
    LAuthor->setAlignment(Qt::AlignCenter);
    PlaceAt(LAuthor, 112, 32, 170, 16);

    // The credits can be neither focused, edited nor scrolled: their panel is disabled. They
    // still read like normal text, not greyed out.
    PAbout->setObjectName(QStringLiteral("PAbout"));
    PlaceAt(PAbout, 112, 56, 170, 101);
    MCredits->setObjectName(QStringLiteral("MCredits"));
    MCredits->setGeometry(0, 0, PAbout->width(), PAbout->height());
    MCredits->setReadOnly(true);
    MCredits->setFrameShape(QFrame::NoFrame);
    MCredits->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MCredits->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MCredits->setPlainText(QString::fromUtf8(msg::kCredits));
    QTextCursor all(MCredits->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
    QPalette face = MCredits->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        face.setColor(group, QPalette::Base, face.color(QPalette::Active, QPalette::Button));
        face.setColor(group, QPalette::Text, face.color(QPalette::Active, QPalette::ButtonText));
    }
    MCredits->setPalette(face);
    PAbout->setEnabled(false);

    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setDefault(true);
    PlaceAt(BOK, 159, 164, 75, 21);
    connect(BOK, &QPushButton::clicked, this, &QDialog::accept);

    FixClientSize(this, 284, 193);
    FitFontToCaptions(this, {LProgramVersion, LAuthor, BOK});
}

void TFAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CenterOnScreen(this);
    BOK->setFocus();
}
