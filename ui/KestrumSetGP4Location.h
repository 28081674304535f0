// The location dialog: names GP4.EXE and says at once when the file named
// does not have the one size the program supports. The main window takes the
// field's file name after it closes; OK gives Accepted, the close box Rejected.
#pragma once

#include <QDialog>

class FileNameEdit;
class QLabel;
class QPushButton;

class TFGP4Location : public QDialog {
    Q_OBJECT

  public:
    explicit TFGP4Location(QWidget* parent = nullptr);

    QLabel* LGP4EXELocation;
    FileNameEdit* FEGP4EXE;
    QPushButton* BOK;

    // At every change of the field's text: an existing file of another size than the supported
    // GP4.EXE gets the information box. The file is opened for reading only; nothing about it
    // changes (the user's typing passes through many files).
    void FEGP4EXEChange();

  protected:
    void showEvent(QShowEvent* event) override;
};
