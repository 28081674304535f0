// A one-line text question with OK and Cancel. At most 255 characters can be
// typed; cancelling (or the close box) gives back the initial text, so a
// cancel cannot be told apart from confirming that text.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class InputBox : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kMaxLength = 255;

    InputBox(const QString& caption, const QString& prompt, const QString& initial,
             QWidget* parent = nullptr);

    // The text typed when closed with OK, else the initial text.
    QString Answer() const;

    QLineEdit* Edit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    QString initial_;
    QLabel* prompt_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
