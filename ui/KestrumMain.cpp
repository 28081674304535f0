#include "KestrumMain.h"

#include "DpiScale.h"
#include "FileDropTarget.h"
#include "FileIO.h"
#include "FileNameEdit.h"
#include "Gp4Exe.h"
#include "KestrumAbout.h"
#include "KestrumGP4Info.h"
#include "KestrumSetGP4Location.h"
#include "KestrumVar.h"
#include "MagicExtract.h"
#include "Messages.h"
#include "PathRules.h"
#include "QtUi.h"
#include "Settings.h"
#include "TrackFile.h"
#include "UiGuard.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>

namespace {

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

bool IsTrackName(const std::string& path) {
    return paths::UpperAscii(paths::ExtractFileExt(path)) == ".DAT";
}

// The format the program writes and its open dialog lists (".md3"), the older ".md2", and the
// ".md" that the command line takes.
bool IsMagicName(const std::string& path) {
    const std::string ext = paths::UpperAscii(paths::ExtractFileExt(path));
    return ext == ".MD3" || ext == ".MD2" || ext == ".MD";
}

} // namespace

TFKestrum::TFKestrum(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FKestrum"));
    setWindowTitle(Text(msg::kMainCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    BuildMenu();
    BuildControls();
    DFT = new FileDropTarget(this, [this](const std::vector<std::string>& paths) {
        Guarded([this, &paths] { DFTDrop(paths); });
    });
    DFT->setObjectName(QStringLiteral("DFT"));
    // Key preview: the window sees every key before the control that has the focus.
    qApp->installEventFilter(this);
    FormCreate();
}

TFKestrum::~TFKestrum() {
    qApp->removeEventFilter(this);
}

void TFKestrum::SetDialogs(TFAbout* about, TFEditGP4info* editor, TFGP4Location* location) {
    about_ = about;
    editor_ = editor;
    location_ = location;
}

void TFKestrum::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    File1 = bar->addMenu(Text(msg::kMenuFile));
    File1->setObjectName(QStringLiteral("File1"));
    Exit1 = File1->addAction(Text(msg::kMenuExit));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Edit1 = bar->addMenu(Text(msg::kMenuEdit));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    CreateMagicFilefromGP4EXE1 = Edit1->addAction(Text(msg::kMenuCreateMagic));
    CreateMagicFilefromGP4EXE1->setObjectName(QStringLiteral("CreateMagicFilefromGP4EXE1"));
    Savemagicdatafromtrackfile1 = Edit1->addAction(Text(msg::kMenuGetMagic));
    Savemagicdatafromtrackfile1->setObjectName(QStringLiteral("Savemagicdatafromtrackfile1"));
    N1 = Edit1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    SetGP4EXElocation1 = Edit1->addAction(Text(msg::kMenuSetLocation));
    SetGP4EXElocation1->setObjectName(QStringLiteral("SetGP4EXElocation1"));
    // The bar item is itself the command.
    About1 = bar->addAction(Text(msg::kMenuAbout));
    About1->setObjectName(QStringLiteral("About1"));
    CreateMagicFilefromGP4EXE1->setEnabled(false);

    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(CreateMagicFilefromGP4EXE1, &QAction::triggered, this,
            [this] { Guarded([this] { CreateMagicFilefromGP4EXE1Click(); }); });
    connect(Savemagicdatafromtrackfile1, &QAction::triggered, this,
            [this] { Guarded([this] { Savemagicdatafromtrackfile1Click(); }); });
    connect(SetGP4EXElocation1, &QAction::triggered, this,
            [this] { Guarded([this] { SetGP4EXElocation1Click(); }); });
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });
}

void TFKestrum::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    LTrackFile = new QLabel(Text(msg::kTrackFileLabel), client);
    LTrackFile->setObjectName(QStringLiteral("LTrackFile"));
    FETrackFile = new FileNameEdit(client);
    FETrackFile->setObjectName(QStringLiteral("FETrackFile"));
    FETrackFile->SetFilter(Text(msg::kTrackFilter));
    LMagicFile = new QLabel(Text(msg::kMagicFileLabel), client);
    LMagicFile->setObjectName(QStringLiteral("LMagicFile"));
    FEMagicFile = new FileNameEdit(client);
    FEMagicFile->setObjectName(QStringLiteral("FEMagicFile"));
    FEMagicFile->SetFilter(Text(msg::kMagicFilter));
    BInsert = new QPushButton(Text(msg::kInsertButton), client);
    BInsert->setObjectName(QStringLiteral("BInsert"));
    CBBackup = new QCheckBox(Text(msg::kBackupBox), client);
    CBBackup->setObjectName(QStringLiteral("CBBackup"));
    BEditGP4info = new QPushButton(Text(msg::kEditGP4info), client);
    BEditGP4info->setObjectName(QStringLiteral("BEditGP4info"));
    StatusBar = new QStatusBar(client);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    SDMagic = new QFileDialog(this);
    SDMagic->setObjectName(QStringLiteral("SDMagic"));
    ConfigureSaveDialog(*SDMagic, Text(msg::kSaveMagicTitle), Text(msg::kSaveMagicFilter),
                        Text(msg::kSaveMagicDefaultExt));

    // The labels and the check box are as wide as the room up to the next control, so that
    // their captions fit in the desktop's font; positions stay where they are.
    PlaceAt(LTrackFile, 8, 8, 86, 21);
    PlaceAt(FETrackFile, 96, 8, 357, 21);
    PlaceAt(LMagicFile, 8, 40, 86, 21);
    PlaceAt(FEMagicFile, 96, 40, 357, 21);
    PlaceAt(BInsert, 352, 76, 100, 21);
    PlaceAt(CBBackup, 8, 80, 232, 17);
    PlaceAt(BEditGP4info, 244, 76, 100, 21);
    PlaceAt(StatusBar, 0, 105, 458, 19);
    LTrackFile->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LMagicFile->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    client->setFixedSize(Scaled(458), Scaled(124));
    FitFontToCaptions(this, {LTrackFile, LMagicFile, BInsert, CBBackup, BEditGP4info});
    setFixedSize(Scaled(458), menuBar()->sizeHint().height() + Scaled(124));

    for (QPushButton* button : {BInsert, BEditGP4info}) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setEnabled(false);
    }
    StatusBar->setFocusPolicy(Qt::NoFocus);
    setTabOrder(FETrackFile, FEMagicFile);
    setTabOrder(FEMagicFile, BInsert);
    setTabOrder(BInsert, CBBackup);
    setTabOrder(CBBackup, BEditGP4info);

    connect(FETrackFile, &FileNameEdit::Changed, this,
            [this] { Guarded([this] { FETrackFileChange(); }); });
    connect(FEMagicFile, &FileNameEdit::Changed, this,
            [this] { Guarded([this] { FEMagicFileChange(); }); });
    connect(FETrackFile, &FileNameEdit::AfterDialog, this, [this](const QString& name) {
        Guarded([this, &name] { FETrackFileAfterDialog(name); });
    });
    connect(FEMagicFile, &FileNameEdit::AfterDialog, this, [this](const QString& name) {
        Guarded([this, &name] { FEMagicFileAfterDialog(name); });
    });
    connect(BInsert, &QPushButton::clicked, this, [this] { Guarded([this] { BInsertClick(); }); });
    connect(BEditGP4info, &QPushButton::clicked, this, [this] { BEditGP4infoClick(); });
}

bool TFKestrum::BackupChecked() const {
    return CBBackup->isChecked();
}

void TFKestrum::SetStatusText(const QString& text) {
    if (text.isEmpty())
        StatusBar->clearMessage();
    else
        StatusBar->showMessage(text);
}

QString TFKestrum::StatusText() const {
    return StatusBar->currentMessage();
}

void TFKestrum::FormCreate() {
    DFT->Register();
    kestrum::TrackFileValid = false;
    kestrum::MagicFileValid = false;
    kestrum::ProgramDir = ProgramDirFromExecutable();
    Guarded([] { LoadSettings(); });
    if (!kestrum::LastDir.empty()) {
        FETrackFile->SetInitialDir(ToQt(kestrum::LastDir));
        FEMagicFile->SetInitialDir(ToQt(kestrum::LastDir));
    } else {
        FETrackFile->SetInitialDir(ToQt(kestrum::ProgramDir));
        FEMagicFile->SetInitialDir(ToQt(kestrum::ProgramDir));
        kestrum::LastDir = kestrum::ProgramDir;
    }
    kestrum::LastDir = paths::FoldCaseForFileSystem(kestrum::LastDir);
    Savemagicdatafromtrackfile1->setEnabled(false);
}

void TFKestrum::showEvent(QShowEvent* event) {
    if (!shown_ && !event->spontaneous()) {
        shown_ = true;
        CenterOnScreen(this);
        FormShow();
        FETrackFile->setFocus();
    }
    QMainWindow::showEvent(event);
}

void TFKestrum::TakeLocationFromDialog() {
    kestrum::Gp4ExePath = location_->FEGP4EXE->FileNameUtf8();
    if (!fileio::FileExists(kestrum::Gp4ExePath))
        kestrum::Gp4ExePath.clear();
}

void TFKestrum::FormShow() {
    if (location_ == nullptr)
        return;
    if (!kestrum::Gp4ExePath.empty()) {
        location_->FEGP4EXE->SetInitialDir(ToQt(paths::ExtractFilePath(kestrum::Gp4ExePath)));
        location_->FEGP4EXE->SetFileName(ToQt(kestrum::Gp4ExePath));
    } else {
        QtUi::Current().ExecModal(*location_);
        TakeLocationFromDialog();
    }
    if (kestrum::Gp4ExePath.empty())
        Ui().ShowMessage(MessageType::Warning, msg::kGp4ExeNotSet);
    TableRefresh();
}

void TFKestrum::TableRefresh() {
    bool read = false;
    if (fileio::FileExists(kestrum::Gp4ExePath)) {
        try {
            read = ReadExeTrackTable(kestrum::Gp4ExePath);
        } catch (const std::exception& e) {
            CreateMagicFilefromGP4EXE1->setEnabled(false);
            Ui().ShowError(e);
            return;
        }
    }
    CreateMagicFilefromGP4EXE1->setEnabled(read);
}

void TFKestrum::SetGP4EXElocation1Click() {
    if (QtUi::Current().ExecModal(*location_) == QDialog::Accepted)
        TakeLocationFromDialog();
    TableRefresh();
}

bool TFKestrum::TakeName(const std::string& name) {
    const bool exists = fileio::FileExists(name);
    if (exists)
        kestrum::LastDir = paths::ExtractFilePath(name);
    return exists;
}

void TFKestrum::UpdateInsert() {
    BInsert->setEnabled(kestrum::TrackFileValid && kestrum::MagicFileValid);
}

void TFKestrum::FETrackFileChange() {
    kestrum::TrackFileValid = TakeName(FETrackFile->FileNameUtf8());
    UpdateInsert();
    BEditGP4info->setEnabled(kestrum::TrackFileValid);
    Savemagicdatafromtrackfile1->setEnabled(kestrum::TrackFileValid);
}

void TFKestrum::FEMagicFileChange() {
    kestrum::MagicFileValid = TakeName(FEMagicFile->FileNameUtf8());
    UpdateInsert();
}

void TFKestrum::FETrackFileAfterDialog(const QString& name) {
    kestrum::TrackFileValid = TakeName(FromQt(name));
    UpdateInsert();
}

void TFKestrum::FEMagicFileAfterDialog(const QString& name) {
    kestrum::MagicFileValid = TakeName(FromQt(name));
    UpdateInsert();
}

void TFKestrum::DFTDrop(const std::vector<std::string>& paths) {
    bool trackFilled = false;
    bool magicFilled = false;
    for (const std::string& path : paths) {
        if (!trackFilled && IsTrackName(path)) {
            FETrackFile->SetFileName(ToQt(path));
            trackFilled = true;
        }
        if (!magicFilled && IsMagicName(path)) {
            FEMagicFile->SetFileName(ToQt(path));
            magicFilled = true;
        }
    }
}

void TFKestrum::FormKeyDown(int key) {
    if (key != Qt::Key_F12)
        return;
    FETrackFile->SetFileName(QString());
    FEMagicFile->SetFileName(QString());
}

bool TFKestrum::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F12) {
            Guarded([this, key] { FormKeyDown(key); });
            // Taken here, so that it is not handled again on its way up to the window.
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFKestrum::BInsertClick() {
    // The status line tells only of the insertion just made: "Done." or nothing.
    SetStatusText(QString());
    InsertMagicData(FEMagicFile->FileNameUtf8(), FETrackFile->FileNameUtf8());
}

void TFKestrum::BEditGP4infoClick() {
    if (editor_ != nullptr)
        QtUi::Current().ExecModal(*editor_);
}

void TFKestrum::Exit1Click() {
    close();
}

void TFKestrum::About1Click() {
    if (about_ != nullptr)
        QtUi::Current().ExecModal(*about_);
}

void TFKestrum::CreateMagicFilefromGP4EXE1Click() {
    CreateMagicFileFromExe(kestrum::Gp4ExePath, AskTrackNumberThroughUi);
}

void TFKestrum::Savemagicdatafromtrackfile1Click() {
    ExtractMagicData(FETrackFile->FileNameUtf8(), [] {
        return Ui().AskSaveFileName(msg::kSaveMagicTitle, msg::kSaveMagicFilter,
                                    msg::kSaveMagicDefaultExt);
    });
}

void TFKestrum::closeEvent(QCloseEvent* event) {
    // A failure to save is reported; the window closes all the same.
    Guarded([] { SaveSettings(); });
    event->accept();
    QMainWindow::closeEvent(event);
}
