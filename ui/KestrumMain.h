// The main window: two file-name fields (a track file and a magic text file),
// "Insert data", "Edit GP4info", the backup box, a status line and the menus
// from which the other commands start. It keeps the validity flags that enable
// the commands, and hands every command over to the core.
#pragma once

#include <QMainWindow>

#include <string>
#include <vector>

class FileDropTarget;
class FileNameEdit;
class QAction;
class QCheckBox;
class QFileDialog;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class TFAbout;
class TFEditGP4info;
class TFGP4Location;

class TFKestrum : public QMainWindow {
    Q_OBJECT

  public:
    explicit TFKestrum(QWidget* parent = nullptr);
    ~TFKestrum() override;

    // The dialogs, created after this window.
    void SetDialogs(TFAbout* about, TFEditGP4info* editor, TFGP4Location* location);

    QLabel* LTrackFile;
    FileNameEdit* FETrackFile;
    QLabel* LMagicFile;
    FileNameEdit* FEMagicFile;
    QPushButton* BInsert;
    QCheckBox* CBBackup;
    QPushButton* BEditGP4info;
    QStatusBar* StatusBar;
    QFileDialog* SDMagic;
    FileDropTarget* DFT;

    QMenu* File1;
    QAction* Exit1;
    QMenu* Edit1;
    QAction* CreateMagicFilefromGP4EXE1;
    QAction* Savemagicdatafromtrackfile1;
    QAction* N1;
    QAction* SetGP4EXElocation1;
    QAction* About1;

    bool BackupChecked() const;
    void SetStatusText(const QString& text);
    QString StatusText() const;

    void FormCreate();
    void FormShow();
    void FETrackFileChange();
    void FEMagicFileChange();
    void FETrackFileAfterDialog(const QString& name);
    void FEMagicFileAfterDialog(const QString& name);
    void DFTDrop(const std::vector<std::string>& paths);
    void FormKeyDown(int key);
    void BInsertClick();
    void BEditGP4infoClick();
    void Exit1Click();
    void About1Click();
    void SetGP4EXElocation1Click();
    void CreateMagicFilefromGP4EXE1Click();
    void Savemagicdatafromtrackfile1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenu();
    void BuildControls();
    // The shared part of the change and dialog rules: the field's flag from a name, and LastDir
    // following a name that exists.
    static bool TakeName(const std::string& name);
    void UpdateInsert();
    void TableRefresh();
    // The location in the location dialog's field, or empty when it names no existing file.
    void TakeLocationFromDialog();

    TFAbout* about_ = nullptr;
    TFEditGP4info* editor_ = nullptr;
    TFGP4Location* location_ = nullptr;
    bool shown_ = false;
};
