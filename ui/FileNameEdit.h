// A file-name field: a one-line edit with a browse button at its right end.
// The button opens a file-open dialog with the field's filter, in the folder
// of the name already in the field when that folder exists, else in the
// field's initial folder; any name is accepted, existing or not.
//
// Changed is raised after every change of the text (typed, chosen, set by the
// program, emptied). AfterDialog is raised each time the open dialog closes,
// with the chosen name, or the field's current file name when cancelled; a
// chosen name then becomes the text and its folder the initial folder.
//
// Dropped files are not taken here: the window's drop target gets them.
#pragma once

#include <QString>
#include <QWidget>

#include <string>

class QLineEdit;
class QToolButton;

class FileNameEdit : public QWidget {
    Q_OBJECT

  public:
    explicit FileNameEdit(QWidget* parent = nullptr);

    // The text without the quotes that may surround a name holding blanks.
    QString FileName() const;
    void SetFileName(const QString& name);
    std::string FileNameUtf8() const;

    // "caption|pattern|caption|pattern"; the first pair is selected when the dialog opens.
    void SetFilter(const QString& filter) { filter_ = filter; }
    const QString& Filter() const { return filter_; }
    void SetInitialDir(const QString& folder) { initialDir_ = folder; }
    const QString& InitialDir() const { return initialDir_; }
    // The folder the open dialog starts in.
    QString DialogFolder() const;

    QLineEdit* Edit() const { return edit_; }
    QToolButton* BrowseButton() const { return browse_; }

  public slots:
    void Browse();

  signals:
    void Changed();
    void AfterDialog(const QString& name);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QLineEdit* edit_;
    QToolButton* browse_;
    QString filter_;
    QString initialDir_;
};
