// The About box: the program's name and version, an author line and the
// credits. It has no behaviour of its own.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class TFAbout : public QDialog {
    Q_OBJECT

  public:
    explicit TFAbout(QWidget* parent = nullptr);

    QFrame* ImagePanel;
    QLabel* LProgramVersion;
    QLabel* LAuthor;
    QWidget* PAbout;
    QPlainTextEdit* MCredits;
    QPushButton* BOK;

  protected:
    void showEvent(QShowEvent* event) override;
};
